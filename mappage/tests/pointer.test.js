import assert from "node:assert/strict";
import { after, before, beforeEach, describe, test } from "node:test";
import { MAP_FOLDER, openMapPage } from "./support/page.js";
import { assertWellFormed } from "./support/protocol.js";
import { startServer } from "./support/server.js";

// Clicks, drags and right clicks with a real pointer, and the events the page posts for them.

const ROUTE = [
  [6.9, 50.93],
  [7.0, 50.93],
];
const ANCHORS = [
  { id: "A", lng: 6.9, lat: 50.93, kind: "via", selected: false, dimmed: false, role: "start" },
  { id: "B", lng: 7.0, lat: 50.93, kind: "via", selected: true, dimmed: false, role: "end" },
];
const OFF_ROUTE = [6.95, 50.96];
const ON_ROUTE = [6.95, 50.93];

let server;
let map;
before(async () => {
  server = await startServer({ mapFolder: MAP_FOLDER, tilesBase: "http://127.0.0.1:9" });
  map = await openMapPage(server);
});
after(async () => {
  assertWellFormed(await map.events());
  assert.deepEqual(map.errors, []);
  await map.close();
  await server.close();
});
beforeEach(async () => {
  await map.send("fit", { bounds: [6.88, 50.9, 7.02, 50.98], animated: false });
  await map.send("setRoute", { coordinates: ROUTE });
  await map.send("setAnchors", { anchors: ANCHORS });
  await map.send("setPOIs", {
    pois: [
      { id: "fav-1", lng: 6.92, lat: 50.95, category: "favorite", selected: false, dimmed: false },
    ],
  });
  await map.send("setTool", { tool: "select" });
  await map.idle();
});

const screen = ([lng, lat]) =>
  map.inMap(
    (m, at) => {
      const point = m.project(at);
      return { x: point.x, y: point.y };
    },
    [lng, lat],
  );
const near = (event, [lng, lat], tolerance = 2e-4) =>
  assert.ok(
    Math.abs(event.lng - lng) < tolerance && Math.abs(event.lat - lat) < tolerance,
    `${JSON.stringify(event)} is not near ${lng},${lat}`,
  );
const settle = () => map.page.waitForTimeout(100);

async function dragFrom(start, steps) {
  await map.page.mouse.move(start.x, start.y);
  await map.page.mouse.down();
  for (const [dx, dy] of steps) await map.page.mouse.move(start.x + dx, start.y + dy, { steps: 3 });
}

describe("clicks", () => {
  test("post a tap with every tool, and the cursor follows the tool", async () => {
    const at = await screen(OFF_ROUTE);
    for (const tool of ["select", "via", "shaping"]) {
      await map.send("setTool", { tool });
      const className = await map.page.$eval("#map", (e) => e.className);
      assert.match(className, new RegExp(`zuvo-tool-${tool}`));
      assert.doesNotMatch(className, tool === "via" ? /zuvo-tool-select/ : /zuvo-tool-via/);
      const seen = await map.mark();
      await map.page.mouse.click(at.x, at.y);
      await settle();
      const [tap] = await seen("tap");
      assert.equal(tap.onRoute, false);
      near(tap, OFF_ROUTE);
      const deselect = await seen("anchorSelect");
      assert.equal(deselect.length, tool === "select" ? 1 : 0);
      assert.equal(deselect[0]?.id, undefined);
    }
  });

  test("a click on the route line is a tap on the route", async () => {
    await map.send("setTool", { tool: "via" });
    const at = await screen(ON_ROUTE);
    const seen = await map.mark();
    await map.page.mouse.click(at.x, at.y + 2);
    await settle();
    const taps = await seen("tap");
    assert.equal(taps.length, 1);
    assert.equal(taps[0].onRoute, true);
  });

  test("a click on an anchor selects it and on a POI opens it, without a tap", async () => {
    await map.send("setTool", { tool: "via" });
    const seen = await map.mark();
    await map.page.click('.zuvo-anchor[data-id="A"]');
    await map.page.click('.zuvo-poi[data-id="fav-1"]');
    await settle();
    assert.deepEqual(
      (await seen()).filter((e) => e.event !== "log"),
      [
        { event: "anchorSelect", id: "A" },
        { event: "poiSelect", id: "fav-1" },
      ],
    );
  });
});

describe("drags", () => {
  test("dragging an anchor posts anchorDrag while it moves and one dragEnd", async () => {
    const start = await screen([ANCHORS[0].lng, ANCHORS[0].lat]);
    const seen = await map.mark();
    const centre = await map.inMap((m) => m.getCenter().toArray());
    await dragFrom(start, [
      [20, 0],
      [40, -30],
    ]);
    await map.page.mouse.up();
    await settle();
    const drags = await seen("anchorDrag");
    assert.ok(drags.length >= 2, `${drags.length} anchorDrag events`);
    assert.ok(drags.every((e) => e.id === "A"));
    const released = await map.inMap(
      (m, p) => m.unproject(p).toArray(),
      [start.x + 40, start.y - 30],
    );
    near(drags.at(-1), released, 5e-4);
    assert.equal((await seen("dragEnd")).length, 1);
    assert.equal((await seen("tap")).length, 0);
    assert.deepEqual(
      await map.inMap((m) => m.getCenter().toArray()),
      centre,
      "the map did not pan",
    );
  });

  test("a drag on the route starts a route drag that carries on as the new anchor's drag", async () => {
    const start = await screen(ON_ROUTE);
    const seen = await map.mark();
    const centre = await map.inMap((m) => m.getCenter().toArray());
    await dragFrom(start, [[0, 15]]);
    const [dragStart] = await seen("routeDragStart");
    near(dragStart, ON_ROUTE, 5e-4);

    await map.send("setAnchors", {
      anchors: [ANCHORS[0], { ...ANCHORS[0], id: "N", kind: "shaping", role: "" }, ANCHORS[1]],
    });
    await map.send("beginSyntheticDrag", { id: "N" });
    await map.page.mouse.move(start.x + 30, start.y + 40, { steps: 4 });
    await map.page.mouse.up();
    await settle();

    const drags = await seen("anchorDrag");
    assert.ok(drags.length >= 2 && drags.every((e) => e.id === "N"));
    const released = await map.inMap(
      (m, p) => m.unproject(p).toArray(),
      [start.x + 30, start.y + 40],
    );
    near(drags.at(-1), released, 5e-4);
    near(
      Object.fromEntries(["lng", "lat"].map((k, i) => [k, released[i]])),
      await map.page.$eval('.zuvo-anchor[data-id="N"]', (e) => {
        const box = e.getBoundingClientRect();
        const at = window.zuvo.map.unproject([box.left + box.width / 2, box.top + box.height / 2]);
        return [at.lng, at.lat];
      }),
      5e-4,
    );
    assert.equal((await seen("dragEnd")).length, 1);
    assert.equal((await seen("routeDragStart")).length, 1);
    assert.equal((await seen("tap")).length, 0);
    assert.deepEqual(
      await map.inMap((m) => m.getCenter().toArray()),
      centre,
      "the map did not pan",
    );
  });

  test("a route drag let go before the anchor exists puts the anchor where it was let go", async () => {
    const start = await screen(ON_ROUTE);
    const seen = await map.mark();
    await dragFrom(start, [[25, 25]]);
    await map.page.mouse.up();
    await settle();
    assert.equal((await seen("routeDragStart")).length, 1);
    await map.send("beginSyntheticDrag", { id: "late" });
    const released = await map.inMap(
      (m, p) => m.unproject(p).toArray(),
      [start.x + 25, start.y + 25],
    );
    const drags = await seen("anchorDrag");
    assert.equal(drags.length, 1);
    assert.equal(drags[0].id, "late");
    near(drags[0], released, 5e-4);
    assert.equal((await seen("dragEnd")).length, 1);
  });

  test("panning the map away from the route moves the camera and reports the view", async () => {
    const start = await screen(OFF_ROUTE);
    const seen = await map.mark();
    await dragFrom(start, [[-120, 0]]);
    await map.page.mouse.up();
    await map.idle();
    await settle();
    assert.equal((await seen("routeDragStart")).length, 0);
    const views = await seen("viewChanged");
    assert.ok(views.length >= 1);
    const [zoom, lat] = await map.inMap((m) => [m.getZoom(), m.getCenter().lat]);
    assert.ok(Math.abs(views.at(-1).zoom - zoom) < 1e-9 && Math.abs(views.at(-1).lat - lat) < 1e-9);
  });
});

describe("right clicks", () => {
  test("post contextMenu with the target under the pointer and its view position", async () => {
    const targets = [
      [await screen(OFF_ROUTE), { type: "map" }],
      [await screen(ON_ROUTE), { type: "route" }],
      [await screen([ANCHORS[1].lng, ANCHORS[1].lat]), { type: "anchor", id: "B" }],
      [await screen([6.92, 50.95]), { type: "poi", id: "fav-1" }],
    ];
    for (const [at, target] of targets) {
      const seen = await map.mark();
      await map.page.mouse.click(at.x, at.y, { button: "right" });
      await settle();
      const menus = await seen("contextMenu");
      assert.equal(menus.length, 1, JSON.stringify(target));
      assert.deepEqual(menus[0].target, target);
      assert.ok(Math.abs(menus[0].x - at.x) <= 1 && Math.abs(menus[0].y - at.y) <= 1);
      const geographic = await map.inMap(
        (m, p) => m.unproject(p).toArray(),
        [menus[0].x, menus[0].y],
      );
      near(menus[0], geographic, 1e-6);
      assert.equal((await seen("tap")).length, 0);
    }
  });
});
