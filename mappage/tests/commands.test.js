import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";
import { MAP_FOLDER, openMapPage } from "./support/page.js";
import { assertWellFormed } from "./support/protocol.js";
import { startServer } from "./support/server.js";

// Every command's visible effect on the map, checked in the page's own map state.

const ROUTE = [
  [6.9, 50.93],
  [6.95, 50.95],
  [7.0, 50.94],
];
const TERRAIN = "http://127.0.0.1:9/pmtiles/terrain-test.pmtiles";
const query = `?style=style.json&terrain=${encodeURIComponent(TERRAIN)}&terrainEncoding=terrarium&customGlyph=${encodeURIComponent("🦆")}`;

let server;
let map;
before(async () => {
  server = await startServer({ mapFolder: MAP_FOLDER, tilesBase: "http://127.0.0.1:9" });
  map = await openMapPage(server, { query });
});
after(async () => {
  assertWellFormed(await map.events());
  assert.deepEqual(map.errors, []);
  await map.close();
  await server.close();
});

const paint = (layer, property) =>
  map.inMap((m, [l, p]) => m.getPaintProperty(l, p) ?? null, [layer, property]);
const visibility = (layer) =>
  map.inMap((m, l) => m.getLayoutProperty(l, "visibility") ?? "visible", layer);
const markerClasses = (selector) =>
  map.page.$$eval(selector, (elements) =>
    elements.map((e) => ({
      id: e.dataset.id,
      classes: [...e.classList].sort(),
      text: e.textContent,
    })),
  );
// The geographic position under a marker element's centre.
const markerPosition = (selector) =>
  map.page.$eval(selector, (element) => {
    const box = element.getBoundingClientRect();
    const container = window.zuvo.map.getContainer().getBoundingClientRect();
    const at = window.zuvo.map.unproject([
      box.left + box.width / 2 - container.left,
      box.top + box.height / 2 - container.top,
    ]);
    return [at.lng, at.lat];
  });
const near = (actual, expected, tolerance = 1e-3) =>
  assert.ok(
    actual.every((value, i) => Math.abs(value - expected[i]) < tolerance),
    `${actual} is not near ${expected}`,
  );

describe("query items", () => {
  test("the elevation source reads the terrain archive named in the query", async () => {
    const dem = await map.inMap((m) => m.getStyle().sources["zuvo-dem"]);
    assert.equal(dem.url, `pmtiles://${TERRAIN}`);
    assert.equal(dem.encoding, "terrarium");
  });

  test("the basemap source comes from the tiles base filled into the style", async () => {
    const url = await map.inMap((m) => m.getStyle().sources.protomaps.url);
    assert.equal(url, "pmtiles://http://127.0.0.1:9/pmtiles/basemap.pmtiles");
  });
});

describe("route line", () => {
  test("is drawn in the flat colour without grades", async () => {
    await map.send("setRoute", { coordinates: ROUTE });
    const data = await map.inMap((m) => m.getSource("zuvo-route").serialize().data);
    assert.deepEqual(data.geometry.coordinates, ROUTE);
    assert.equal(await paint("zuvo-route-line", "line-gradient"), null);
    assert.equal(await paint("zuvo-route-line", "line-color"), "#FF7A18");
  });

  test("places each grade at its progress fraction in gradient mode", async () => {
    await map.send("setGradientMode", { enabled: true });
    await map.send("setRoute", {
      coordinates: ROUTE,
      grades: [0, 8, -6, 15],
      progress: [0, 0.25, 0.6, 1],
    });
    const gradient = await paint("zuvo-route-line", "line-gradient");
    assert.deepEqual(gradient.slice(0, 3), ["interpolate", ["linear"], ["line-progress"]]);
    const stops = gradient.slice(3);
    assert.deepEqual(
      stops.filter((_, i) => i % 2 === 0),
      [0, 0.25, 0.6, 1],
    );
    const colors = stops.filter((_, i) => i % 2 === 1);
    assert.equal(new Set(colors).size, 4, "four different grades get four colours");
  });

  test("skips samples whose progress does not advance", async () => {
    await map.send("setRoute", {
      coordinates: ROUTE,
      grades: [1, 2, 3, 4],
      progress: [0, 0.5, 0.5, 0.4],
    });
    const stops = (await paint("zuvo-route-line", "line-gradient")).slice(3);
    assert.deepEqual(
      stops.filter((_, i) => i % 2 === 0),
      [0, 0.5],
    );
  });

  test("goes back to one colour when gradient mode ends", async () => {
    await map.send("setGradientMode", { enabled: false });
    assert.equal(await paint("zuvo-route-line", "line-gradient"), null);
  });
});

describe("anchors", () => {
  const anchors = [
    { id: "A", lng: 6.9, lat: 50.93, kind: "via", selected: false, dimmed: false, role: "start" },
    { id: "B", lng: 6.95, lat: 50.95, kind: "shaping", selected: true, dimmed: false, role: "" },
    { id: "C", lng: 7.0, lat: 50.94, kind: "via", selected: false, dimmed: true, role: "end" },
  ];

  test("are drawn at their positions with classes for kind, role and selection", async () => {
    await map.send("fit", { bounds: [6.88, 50.92, 7.02, 50.96], animated: false });
    await map.send("setAnchors", { anchors });
    const markers = await markerClasses(".zuvo-anchor");
    assert.deepEqual(
      markers.map((m) => [
        m.id,
        m.classes.filter((c) => c !== "maplibregl-marker" && !c.startsWith("maplibregl-marker-")),
      ]),
      [
        ["A", ["zuvo-anchor", "zuvo-anchor--start", "zuvo-anchor--via", "zuvo-marker"]],
        ["B", ["is-selected", "zuvo-anchor", "zuvo-anchor--shaping", "zuvo-marker"]],
        ["C", ["is-dimmed", "zuvo-anchor", "zuvo-anchor--end", "zuvo-anchor--via", "zuvo-marker"]],
      ],
    );
    near(await markerPosition('.zuvo-anchor[data-id="B"]'), [6.95, 50.95]);
  });

  test("a new list replaces the old one", async () => {
    await map.send("setAnchors", { anchors: [{ ...anchors[0], lng: 6.97, lat: 50.935 }] });
    const markers = await markerClasses(".zuvo-anchor");
    assert.deepEqual(
      markers.map((m) => m.id),
      ["A"],
    );
    near(await markerPosition('.zuvo-anchor[data-id="A"]'), [6.97, 50.935]);
  });
});

describe("shown tracks", () => {
  test("take their colour from the palette slot", async () => {
    await map.send("setImportedTracks", {
      tracks: [
        { id: "t1", colorIndex: 0, coordinates: ROUTE },
        { id: "t2", colorIndex: 7, coordinates: ROUTE.slice(1) },
      ],
    });
    const data = await map.inMap((m) => m.getSource("zuvo-tracks").serialize().data);
    const colors = data.features.map((f) => f.properties.color);
    assert.equal(colors.length, 2);
    assert.notEqual(colors[0], colors[1]);
    await map.send("setImportedTracks", {
      tracks: [{ id: "t3", colorIndex: 1, coordinates: ROUTE }],
    });
    const again = await map.inMap((m) => m.getSource("zuvo-tracks").serialize().data);
    assert.equal(again.features[0].properties.color, colors[1], "slot 7 wraps to slot 1");
  });
});

describe("loop suggestions", () => {
  const START = [6.95, 50.94];
  const COLORS = ["#E6194B", "#3CB44B", "#4363D8"];
  // Three round trips from one start, the middle one with an elevation on every position.
  const LOOPS = [
    [START, [6.9, 50.96], [6.88, 50.93], START],
    [START, [6.97, 50.97], [7.0, 50.99], START],
    [START, [7.0, 50.92], [6.96, 50.9], START],
  ].map((coordinates, i) => ({
    coordinates: i === 1 ? coordinates.map(([lng, lat], j) => [lng, lat, j * 10]) : coordinates,
    color: COLORS[i],
  }));
  const BOX = [6.86, 50.88, 7.02, 51.0];
  const rgb = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));

  // What the map drew for each loop: its colour as [red, green, blue], width and opacity as
  // evaluated for the feature, one entry per loop index.
  const drawn = async (layer) => {
    await map.idle();
    const features = await map.inMap(
      (m, l) =>
        m.queryRenderedFeatures({ layers: [l] }).map((f) => {
          const { r, g, b } = f.layer.paint["line-color"];
          return {
            index: f.properties.index,
            color: [r, g, b].map((c) => Math.round(c * 255)),
            width: f.layer.paint["line-width"],
            opacity: f.layer.paint["line-opacity"],
          };
        }),
      layer,
    );
    const byIndex = new Map(features.map((f) => [f.index, f]));
    return [...byIndex.keys()].sort().map((index) => byIndex.get(index));
  };
  // The loop drawn on top where all of them meet.
  const topAtStart = () =>
    map.inMap(
      (m, at) => m.queryRenderedFeatures(m.project(at), { layers: ["zuvo-loops-line"] })[0],
      START,
    );

  test("are drawn in their colours between the tracks and the route, one highlighted on top", async () => {
    await map.send("fit", { bounds: BOX, animated: false });
    await map.send("setLoopSuggestions", { loops: LOOPS, highlighted: -1 });
    assert.deepEqual(await drawn("zuvo-loops-line"), [
      { index: 0, color: rgb(COLORS[0]), width: 4, opacity: 1 },
      { index: 1, color: rgb(COLORS[1]), width: 4, opacity: 1 },
      { index: 2, color: rgb(COLORS[2]), width: 4, opacity: 1 },
    ]);
    const casing = await drawn("zuvo-loops-casing");
    assert.equal(casing.length, 3);
    for (const edge of casing) {
      assert.ok(edge.width > 4 && edge.width <= 7, `a thin casing, not ${edge.width} px`);
      assert.ok(Math.max(...edge.color) < 0x50, `a dark casing, not rgb(${edge.color})`);
    }
    const elevations = await map.inMap(
      (m) => m.getSource("zuvo-loops").serialize().data.features[1].geometry.coordinates,
    );
    assert.deepEqual(elevations[1], [6.97, 50.97], "the elevation is left out");

    const order = await map.inMap((m) => m.getLayersOrder());
    const at = (id) => {
      assert.ok(order.includes(id), `layer ${id}`);
      return order.indexOf(id);
    };
    assert.ok(at("zuvo-tracks-line") < at("zuvo-loops-casing"));
    assert.ok(at("zuvo-loops-casing") < at("zuvo-loops-line"));
    assert.ok(at("zuvo-loops-line") < at("zuvo-route-casing"));

    assert.equal(
      (await topAtStart()).properties.index,
      2,
      "without a highlight the last is on top",
    );
    await map.send("setLoopSuggestions", { loops: LOOPS, highlighted: 1 });
    assert.deepEqual(await drawn("zuvo-loops-line"), [
      { index: 0, color: rgb(COLORS[0]), width: 4, opacity: 0.45 },
      { index: 1, color: rgb(COLORS[1]), width: 7, opacity: 1 },
      { index: 2, color: rgb(COLORS[2]), width: 4, opacity: 0.45 },
    ]);
    const [dimmedEdge, highlightedEdge] = await drawn("zuvo-loops-casing");
    assert.ok(highlightedEdge.width > 7 && highlightedEdge.width > dimmedEdge.width);
    assert.equal((await topAtStart()).properties.index, 1, "the highlighted loop lies on top");

    await map.send("setLoopSuggestions", { loops: [], highlighted: -1 });
    assert.deepEqual(await drawn("zuvo-loops-line"), []);
    assert.deepEqual(await drawn("zuvo-loops-casing"), []);
  });

  test("a malformed list is logged and leaves the loops drawn before", async () => {
    await map.send("setLoopSuggestions", { loops: LOOPS.slice(0, 2), highlighted: 0 });
    const source = () => map.inMap((m) => m.getSource("zuvo-loops").serialize().data);
    const before = await source();
    const good = LOOPS[0];
    const withPosition = (position) => ({ ...good, coordinates: [START, position, START] });
    const bad = [
      { loops: "all", highlighted: -1 },
      { loops: [...LOOPS, good], highlighted: -1 },
      { loops: [good, null], highlighted: -1 },
      { loops: [good, { color: COLORS[0] }], highlighted: -1 },
      { loops: [good, withPosition([6.9, null])], highlighted: -1 },
      { loops: [good, withPosition(["6.9", 50.9])], highlighted: -1 },
      { loops: [good, withPosition([181, 50.9])], highlighted: -1 },
      { loops: [good, withPosition([6.9, -90.5])], highlighted: -1 },
      { loops: [good, { ...good, coordinates: [START] }], highlighted: -1 },
      { loops: [good, { ...good, color: "red" }], highlighted: -1 },
      { loops: [good, { ...good, color: "#12345" }], highlighted: -1 },
      { loops: [good, { ...good, color: "#12345G" }], highlighted: -1 },
      { loops: [good, { coordinates: good.coordinates }], highlighted: -1 },
      { loops: [good, good], highlighted: 2 },
      { loops: [good, good], highlighted: -2 },
      { loops: [good, good], highlighted: 0.5 },
      { loops: [good, good], highlighted: "0" },
      { loops: [good, good] },
      { loops: [], highlighted: 0 },
    ];
    const seen = await map.mark();
    for (const payload of bad) await map.send("setLoopSuggestions", payload);
    const logs = (await seen("log")).map((e) => e.message);
    assert.equal(logs.length, bad.length, logs.join("\n"));
    const rejected = /^setLoopSuggestions: (?!failed:)/;
    assert.ok(
      logs.every((message) => rejected.test(message)),
      logs.join("\n"),
    );
    assert.deepEqual(await source(), before);
    assert.equal((await drawn("zuvo-loops-line")).length, 2);
  });
});

describe("POI markers", () => {
  test("show a symbol by category, the custom glyph for user POIs, and the selection", async () => {
    await map.send("setPOIs", {
      pois: [
        { id: "osm-1", lng: 6.93, lat: 50.94, category: "cafe", selected: true, dimmed: false },
        {
          id: "custom-0",
          lng: 6.96,
          lat: 50.94,
          category: "custom",
          selected: false,
          dimmed: false,
        },
      ],
    });
    const [cafe, custom] = await markerClasses(".zuvo-poi");
    assert.ok(cafe.classes.includes("zuvo-poi--cafe") && cafe.classes.includes("is-selected"));
    assert.equal(custom.text, "🦆");
    await map.send("setCustomPOIGlyph", { glyph: "⛺" });
    assert.equal((await markerClasses(".zuvo-poi--custom"))[0].text, "⛺");
    near(await markerPosition('.zuvo-poi[data-id="osm-1"]'), [6.93, 50.94]);
  });
});

describe("overlays and terrain", () => {
  test("setOverlay shows and hides the named style layers", async () => {
    const ids = ["zuvo-cycle-casing", "zuvo-cycle-line", "zuvo-cycle-ref"];
    for (const id of ids) assert.equal(await visibility(id), "none");
    await map.send("setOverlay", { ids, visible: true });
    for (const id of ids) assert.equal(await visibility(id), "visible");
    await map.send("setOverlay", { ids: ["zuvo-hillshade"], visible: true });
    assert.equal(await visibility("zuvo-hillshade"), "visible");
    await map.send("setOverlay", { ids: ["zuvo-cycle-line"], visible: false });
    assert.equal(await visibility("zuvo-cycle-line"), "none");
  });

  test("setTerrain3D switches the terrain on and off", async () => {
    await map.send("setTerrain3D", { enabled: true });
    assert.equal((await map.inMap((m) => m.getTerrain()))?.source, "zuvo-terrain");
    await map.send("setTerrain3D", { enabled: false });
    assert.equal(await map.inMap((m) => m.getTerrain()), null);
  });
});

describe("camera and position markers", () => {
  test("fit shows the whole box", async () => {
    await map.send("fit", { bounds: [7.1, 51.0, 7.3, 51.1], animated: false });
    const [[west, south], [east, north]] = await map.inMap((m) => m.getBounds().toArray());
    assert.ok(west <= 7.1 && south <= 51.0 && east >= 7.3 && north >= 51.1);
    assert.ok(east - west < 0.6, "and not much more");
  });

  test("a box stays clear of the insets the window covers, also when they change later", async () => {
    const box = [7.1, 51.0, 7.3, 51.1];
    const clear = async (top) => {
      const [west, north] = await map.inMap((m, y) => m.unproject([0, y]).toArray(), top);
      return west <= 7.1 && north >= 51.1;
    };
    await map.send("fit", { bounds: box, animated: false });
    assert.ok(!(await clear(300)), "without insets the box reaches under a 300 px strip");
    await map.send("setViewInsets", { top: 300, right: 0, bottom: 0, left: 0 });
    assert.ok(await clear(300), "the box framed last is framed again below the strip");
    await map.send("setViewInsets", { top: 0, right: 0, bottom: 0, left: 0 });
  });

  test("showServerArea outlines the routing server's area and hides it", async () => {
    await map.send("showServerArea", { bounds: [6.9, 50.9, 7.0, 51.0], visible: true });
    assert.equal(
      await map.inMap((m) => m.getLayoutProperty("zuvo-server-area-line", "visibility")),
      "visible",
    );
    const outline = await map.inMap(
      (m) => m.getSource("zuvo-server-area").serialize().data.geometry.coordinates,
    );
    assert.deepEqual(outline[2], [7.0, 51.0]);
    await map.send("showServerArea", { bounds: [6.9, 50.9, 7.0, 51.0], visible: false });
    assert.equal(
      await map.inMap((m) => m.getLayoutProperty("zuvo-server-area-line", "visibility")),
      "none",
    );
  });

  test("crosshair and ride marker appear at their position and go away", async () => {
    for (const [command, selector] of [
      ["setCrosshair", ".zuvo-crosshair"],
      ["setRideMarker", ".zuvo-ride-marker"],
    ]) {
      await map.send(command, { lng: 7.2, lat: 51.05, visible: true });
      near(await markerPosition(selector), [7.2, 51.05]);
      await map.send(command, { lng: 7.2, lat: 51.05, visible: false });
      assert.equal(await map.page.$(selector), null);
    }
  });

  test("highlightStreet filters the roads by name and clears with the empty name", async () => {
    await map.send("highlightStreet", { name: "Hohe Straße" });
    assert.deepEqual(await map.inMap((m) => m.getFilter("zuvo-street-highlight")), [
      "==",
      ["get", "name"],
      "Hohe Straße",
    ]);
    assert.equal(await visibility("zuvo-street-highlight"), "visible");
    await map.send("highlightStreet", { name: "" });
    assert.equal(await visibility("zuvo-street-highlight"), "none");
  });
});

describe("setMapColors", () => {
  test("colours every style layer of a component and restores it on __reset__", async () => {
    const water = await paint("water", "fill-color");
    const labels = await paint("roads-labels-minor", "text-color");
    await map.send("setMapColors", {
      water: "#112233",
      "roads-labels": "#445566",
      background: "#778899",
    });
    assert.equal(await paint("water", "fill-color"), "#112233");
    assert.equal(await paint("roads-labels", "text-color"), "#445566");
    assert.equal(await paint("roads-labels-minor", "text-color"), "#445566");
    assert.equal(await paint("background", "background-color"), "#778899");
    assert.equal(await paint("earth", "fill-color"), "#778899");
    await map.send("setMapColors", { water: "__reset__", "roads-labels": "__reset__" });
    assert.deepEqual(await paint("water", "fill-color"), water);
    assert.deepEqual(await paint("roads-labels-minor", "text-color"), labels);
  });

  test("route-flat recolours the route line, __reset__ brings back the page's orange", async () => {
    await map.send("setMapColors", { "route-flat": "#00AA00", "zuvo-cycle-line": "#0000FF" });
    assert.equal(await paint("zuvo-route-line", "line-color"), "#00AA00");
    assert.equal(await paint("zuvo-cycle-line", "line-color"), "#0000FF");
    await map.send("setMapColors", { "route-flat": "__reset__", "zuvo-cycle-line": "__reset__" });
    assert.equal(await paint("zuvo-route-line", "line-color"), "#FF7A18");
    assert.notEqual(await paint("zuvo-cycle-line", "line-color"), "#0000FF");
  });

  test("a bad entry is logged and the good ones still apply", async () => {
    const seen = await map.mark();
    await map.send("setMapColors", { water: "blue", parks: "#123456", "landuse-park": "#654321" });
    assert.equal(await paint("landuse-park", "fill-color"), "#654321");
    const logs = (await seen("log")).map((e) => e.message).join("\n");
    assert.match(logs, /water/);
    assert.match(logs, /parks/);
  });
});

describe("malformed commands", () => {
  test("are logged, never thrown, and leave the page working", async () => {
    const seen = await map.mark();
    const bad = [
      null,
      42,
      "setRoute",
      { payload: {} },
      { command: "noSuchCommand", payload: {} },
      { command: "toString", payload: {} },
      { command: "setRoute" },
      { command: "setRoute", payload: { coordinates: [[6.9]] } },
      { command: "setRoute", payload: { coordinates: [[6.9, 95]] } },
      { command: "setAnchors", payload: { anchors: [{ id: "X", lng: "6", lat: 50 }] } },
      {
        command: "setAnchors",
        payload: { anchors: [{ id: "X", lng: 6, lat: 50, kind: "magic" }] },
      },
      { command: "setTool", payload: { tool: "lasso" } },
      { command: "fit", payload: { bounds: [7, 51, 6, 50], animated: false } },
      { command: "setOverlay", payload: { ids: ["no-such-layer"], visible: true } },
      { command: "queryPOIs", payload: { bbox: "all", categories: [] } },
      { command: "setCrosshair", payload: { lng: 7, visible: true } },
      { command: "beginSyntheticDrag", payload: { id: "A" } },
      { command: "setMapColors", payload: [] },
    ];
    for (const message of bad) {
      await map.page.evaluate(
        (json) => window.zuvo.receive(JSON.parse(json)),
        JSON.stringify(message),
      );
    }
    const logs = await seen("log");
    assert.equal(logs.length, bad.length, logs.map((e) => e.message).join("\n"));
    const data = await map.inMap((m) => m.getSource("zuvo-route").serialize().data);
    assert.equal(data.geometry.coordinates.length, ROUTE.length, "the last good route stays");
    await map.send("setRoute", { coordinates: ROUTE.slice(0, 2) });
    const after = await map.inMap((m) => m.getSource("zuvo-route").serialize().data);
    assert.equal(after.geometry.coordinates.length, 2);
  });
});
