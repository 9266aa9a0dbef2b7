import assert from "node:assert/strict";
import { readFile, readdir } from "node:fs/promises";
import path from "node:path";
import { test } from "node:test";
import * as espree from "espree";
import { MAP_FOLDER } from "./support/page.js";

// The application shows the page in Qt WebEngine 6.4, which is Chromium 102: it runs ECMAScript
// 2022 and nothing newer. The browser tests run a newer Chromium, so a library update that uses
// newer syntax would pass them and fail in the application.

test("every script of the Map folder is ECMAScript 2022", async () => {
  const scripts = (await readdir(MAP_FOLDER, { recursive: true })).filter((f) => f.endsWith(".js"));
  assert.ok(scripts.includes(path.join("lib", "vector-tile.js")), scripts.join(", "));
  const newer = [];
  for (const script of scripts) {
    const source = await readFile(path.join(MAP_FOLDER, script), "utf8");
    try {
      espree.parse(source, { ecmaVersion: 2022, sourceType: "module" });
    } catch (error) {
      newer.push(`${script}: ${error.message}`);
    }
  }
  assert.deepEqual(newer, []);
});
