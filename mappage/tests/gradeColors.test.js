import assert from "node:assert/strict";
import { test } from "node:test";
import { gradeColor, gradeGradient } from "../src/gradeColors.js";

// The map's grade colours are the elevation chart's: the values below are what the
// application's own scale gives at these grades.
test("the route's grade colours follow the chart's scale", () => {
  assert.equal(gradeColor(-20), "#2F6FA8");
  assert.equal(gradeColor(0), "#C9C2B4");
  assert.equal(gradeColor(4.5), "#ECA346");
  assert.equal(gradeColor(30), "#5C0D0D");
  assert.equal(gradeColor(Number.NaN), "#2F6FA8");
  assert.deepEqual(gradeGradient([0, 4.5, 4.5], [0, 0.5, 0.5]), [
    "interpolate",
    ["linear"],
    ["line-progress"],
    0,
    "#C9C2B4",
    0.5,
    "#ECA346",
  ]);
});
