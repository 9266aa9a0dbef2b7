import js from "@eslint/js";
import globals from "globals";

export default [
  { ignores: ["node_modules/", "lib/"] },
  js.configs.recommended,
  {
    files: ["src/**/*.js"],
    languageOptions: { globals: { ...globals.browser } },
  },
  {
    files: ["tests/**/*.js", "eslint.config.js"],
    languageOptions: { globals: { ...globals.node, ...globals.browser } },
  },
];
