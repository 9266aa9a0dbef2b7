import assert from "node:assert/strict";
import { test } from "node:test";
import { tilesCovering } from "../src/tileCover.js";
import { tileXY } from "./support/pmtilesArchive.js";

// Which archive tiles a POI search reads: checked against listing every tile of the box.

const distance = (tile, [cx, cy]) => Math.hypot(tile.x + 0.5 - cx, tile.y + 0.5 - cy);

test("a box's tiles come nearest to its centre first, as many as the limit allows", () => {
  const boxes = [
    [6.95, 50.93, 6.96, 50.94], // a few tiles
    [6.5, 50.6, 7.4, 51.2], // thousands
    [6.9, 50.0, 6.91, 51.5], // a tall strip one or two tiles wide
    [-20, 35, 30, 60], // a continent
  ];
  for (const [west, south, east, north] of boxes) {
    const [left, top] = tileXY(west, north, 15);
    const [right, bottom] = tileXY(east, south, 15);
    const [x0, x1, y0, y1] = [left, right, top, bottom].map(Math.floor);
    const centre = [(left + right) / 2, (top + bottom) / 2];
    const count = (x1 - x0 + 1) * (y1 - y0 + 1);

    const found = tilesCovering([west, south, east, north], 15, 64);
    assert.equal(found.length, Math.min(64, count), `${west},${south}`);
    assert.ok(
      found.every(({ x, y }) => x >= x0 && x <= x1 && y >= y0 && y <= y1),
      "in the box",
    );
    const distances = found.map((tile) => distance(tile, centre));
    assert.deepEqual(
      distances,
      [...distances].sort((a, b) => a - b),
      "nearest first",
    );
    if (count < 20000) {
      const nearest = [];
      for (let x = x0; x <= x1; x++) {
        for (let y = y0; y <= y1; y++) nearest.push(distance({ x, y }, centre));
      }
      nearest.sort((a, b) => a - b);
      assert.ok(distances.at(-1) <= nearest[found.length - 1] + 1e-9, "no nearer tile left out");
    }
  }
});

test("boxes at the poles and the date line stay on the tile grid", () => {
  assert.deepEqual(tilesCovering([179.9999, 89, 180, 90], 2, 64), [{ z: 2, x: 3, y: 0 }]);
  assert.deepEqual(tilesCovering([-180, -90, -179.9, -89], 2, 64), [{ z: 2, x: 0, y: 3 }]);
  assert.equal(tilesCovering([-180, -90, 180, 90], 1, 64).length, 4);
});
