import assert from "node:assert/strict";
import { mkdir } from "node:fs/promises";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { MAP_FOLDER, openMapPage } from "./support/page.js";
import { basemapArchive } from "./support/pmtilesArchive.js";
import { assertWellFormed } from "./support/protocol.js";
import { startServer } from "./support/server.js";

// The page against a basemap: POI queries answered from a tile source this test serves, for boxes
// on and off screen, roads of the real schema drawn in their layers, the world background when no
// tile server answers, and the screenshot kept for people to look at.

const poi = (id, lng, lat, properties) => ({
  layer: "pois",
  id,
  coordinates: [[lng, lat]],
  properties,
});
const road = (id, lat, kind, detail) => ({
  layer: "roads",
  id,
  coordinates: [
    [6.9545, lat],
    [6.9605, lat],
  ],
  properties: { kind, kind_detail: detail },
});

const FEATURES = [
  poi(11, 6.955, 50.94, { kind: "cafe", name: "Café Reichard" }),
  poi(12, 6.957, 50.942, { kind: "bakery", name: "Bäckerei" }),
  poi(13, 6.959, 50.9405, { kind: "drinking_water" }),
  poi(14, 6.956, 50.941, { kind: "bench", name: "Bank" }),
  poi(15, 6.97, 50.935, { kind: "cafe", name: "Far away" }),
  // Off screen, about 17 km south-east of the others.
  poi(21, 7.1, 50.8, { kind: "bakery", name: "Backstube" }),
  poi(22, 7.101, 50.8005, { kind: "bicycle", name: "Radhaus" }),
  poi(23, 7.102, 50.801, { kind: "supermarket" }),
  // In a far corner of WIDE_BOX, beyond the tiles nearest to its centre that one query reads.
  poi(31, 7.34, 50.94, { kind: "cafe", name: "Eckcafé" }),
  road(41, 50.9395, "major_road", "secondary"),
  road(42, 50.94, "major_road", "tertiary_link"),
  road(43, 50.9405, "major_road", "primary"),
  road(44, 50.941, "highway", "motorway"),
  road(45, 50.9415, "minor_road", "residential"),
];
const FAR_BOX = [7.09, 50.79, 7.11, 50.81];
const WIDE_BOX = [6.85, 50.65, 7.35, 50.95];
const NOWHERE = [7.5, 51.2, 7.52, 51.21];
const ARTIFACTS = process.env.ZUVO_ARTIFACT_DIR ?? path.resolve("../build/artifacts");

describe("with a basemap", () => {
  let server;
  let map;
  before(async () => {
    server = await startServer({ mapFolder: MAP_FOLDER });
    // Like the real basemap: POIs at every zoom where they exist, all of them at zoom 15.
    server.files.set("/pmtiles/basemap.pmtiles", basemapArchive(FEATURES, [14, 15]));
    map = await openMapPage(server);
  });
  after(async () => {
    assertWellFormed(await map.events());
    await map.close();
    await server.close();
  });

  // Sends queryPOIs for each payload at once and returns the answers in the order they came.
  async function query(...payloads) {
    const start = (await map.events()).length;
    for (const payload of payloads) await map.send("queryPOIs", payload);
    await map.page.waitForFunction(
      ([from, count]) =>
        window.zuvoTestEvents.slice(from).filter((e) => e.event === "poisResult").length >= count,
      [start, payloads.length],
    );
    const results = (await map.events()).slice(start).filter((e) => e.event === "poisResult");
    return results.map(({ pois }) => [...pois].sort((a, b) => a.id.localeCompare(b.id)));
  }
  const summary = (pois) => pois.map(({ id, category, name }) => ({ id, category, name }));

  test("queryPOIs answers with the POIs of the asked categories in the box, on screen", async () => {
    await map.send("fit", { bounds: [6.953, 50.938, 6.962, 50.944], animated: false });
    await map.idle();
    const [pois] = await query({
      bbox: [6.95, 50.937, 6.965, 50.945],
      categories: ["cafe", "drinking_water", "bicycle"],
    });
    assert.deepEqual(summary(pois), [
      { id: "osm-11", category: "cafe", name: "Café Reichard" },
      { id: "osm-13", category: "drinking_water", name: "" },
    ]);
    assert.ok(Math.abs(pois[0].lng - 6.955) < 1e-4 && Math.abs(pois[0].lat - 50.94) < 1e-4);

    // The loaded tiles add what lies beyond the tiles one query reads from the archive.
    const [wide] = await query({ bbox: WIDE_BOX, categories: ["bakery", "bicycle"] });
    assert.deepEqual(
      wide.map((p) => p.id),
      ["osm-12", "osm-21", "osm-22"],
    );
  });

  test("roads of the real schema are drawn in the layers the colour panel names", async () => {
    await map.send("fit", { bounds: [6.954, 50.939, 6.961, 50.942], animated: false });
    await map.idle();
    const drawn = await map.inMap((m) =>
      Object.fromEntries(
        ["roads-medium", "roads-major", "roads-minor"].map((layer) => [
          layer,
          [...new Set(m.queryRenderedFeatures({ layers: [layer] }).map((f) => f.id))].sort(),
        ]),
      ),
    );
    assert.deepEqual(drawn, {
      "roads-medium": [41, 42],
      "roads-major": [43, 44],
      "roads-minor": [45],
    });
  });

  test("queryPOIs reads boxes off screen from the archive, once", async () => {
    await map.send("fit", { bounds: NOWHERE, animated: false });
    await map.idle();
    const reads = () => server.requests.get("/pmtiles/basemap.pmtiles");
    const [far] = await query({ bbox: FAR_BOX, categories: ["bakery", "bicycle"] });
    assert.deepEqual(summary(far), [
      { id: "osm-21", category: "bakery", name: "Backstube" },
      { id: "osm-22", category: "bicycle", name: "Radhaus" },
    ]);
    assert.ok(Math.abs(far[1].lng - 7.101) < 1e-4 && Math.abs(far[1].lat - 50.8005) < 1e-4);

    const before = reads();
    assert.deepEqual(await query({ bbox: FAR_BOX, categories: ["bakery", "bicycle"] }), [far]);
    assert.equal(reads(), before, "the tiles came from the cache");

    // Only the tiles nearest to the centre of a large box are read.
    const [wide] = await query({ bbox: WIDE_BOX, categories: ["bakery", "bicycle", "cafe"] });
    assert.deepEqual(
      wide.map((p) => p.id),
      ["osm-21", "osm-22"],
    );
  });

  test("answers come in the order of the queries", async () => {
    const [corner, none] = await query(
      { bbox: [7.33, 50.93, 7.35, 50.95], categories: ["cafe"] },
      { bbox: FAR_BOX, categories: [] },
    );
    assert.deepEqual(summary(corner), [{ id: "osm-31", category: "cafe", name: "Eckcafé" }]);
    assert.deepEqual(none, []);
  });
});

describe("without a tile server", () => {
  let server;
  let map;
  before(async () => {
    server = await startServer({ mapFolder: MAP_FOLDER, tilesBase: "http://127.0.0.1:9" });
    map = await openMapPage(server, { viewport: { width: 1100, height: 750 } });
  });
  after(async () => {
    assertWellFormed(await map.events());
    await map.close();
    await server.close();
  });

  test("the page is ready, says why, and draws the world's countries", async () => {
    const events = await map.events();
    assert.ok(events.some((e) => e.event === "ready"));
    assert.ok(events.some((e) => e.event === "log" && /map:/.test(e.message)));
    await map.page.waitForFunction(() => window.zuvo.map.getLayer("zuvo-world-land"));
    await map.send("fit", { bounds: [-20, 30, 40, 65], animated: false });
    await map.idle();
    const countries = await map.inMap(
      (m) => m.queryRenderedFeatures({ layers: ["zuvo-world-land"] }).length,
    );
    assert.ok(countries > 10, `${countries} countries drawn`);
  });

  test("queryPOIs answers with nothing and says why", async () => {
    const start = (await map.events()).length;
    const seen = await map.mark();
    await map.send("queryPOIs", { bbox: FAR_BOX, categories: ["bakery"] });
    await map.waitForEvent("poisResult", start);
    assert.deepEqual((await seen("poisResult"))[0].pois, []);
    const logs = (await seen("log")).map((e) => e.message);
    assert.ok(logs.some((message) => message.startsWith("queryPOIs: the basemap cannot be read")));
  });

  test("a route in gradient mode with anchors and a track, kept as a screenshot", async () => {
    const route = Array.from({ length: 60 }, (_, i) => [
      6.9 + i * 0.002,
      50.93 + Math.sin(i / 6) * 0.01,
    ]);
    await map.send("setGradientMode", { enabled: true });
    await map.send("setRoute", {
      coordinates: route,
      grades: route.map((_, i) => 14 * Math.sin(i / 5)),
      progress: route.map((_, i) => i / (route.length - 1)),
    });
    await map.send("setAnchors", {
      anchors: [
        {
          id: "S",
          lng: route[0][0],
          lat: route[0][1],
          kind: "via",
          selected: false,
          dimmed: false,
          role: "start",
        },
        {
          id: "M",
          lng: route[30][0],
          lat: route[30][1],
          kind: "shaping",
          selected: true,
          dimmed: false,
          role: "",
        },
        {
          id: "E",
          lng: route[59][0],
          lat: route[59][1],
          kind: "via",
          selected: false,
          dimmed: false,
          role: "end",
        },
      ],
    });
    await map.send("setImportedTracks", {
      tracks: [
        {
          id: "ride",
          colorIndex: 0,
          coordinates: route.map(([lng, lat]) => [lng + 0.004, lat - 0.008]),
        },
      ],
    });
    await map.send("fit", { bounds: [6.89, 50.91, 7.03, 50.95], animated: false });
    await map.idle();
    await mkdir(ARTIFACTS, { recursive: true });
    const file = path.join(ARTIFACTS, "map-gradient.png");
    const png = await map.page.screenshot({ path: file });
    const colours = await map.page.evaluate(async (data) => {
      const image = new Image();
      image.src = `data:image/png;base64,${data}`;
      await image.decode();
      const canvas = document.createElement("canvas");
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      const pixels = context.getImageData(0, 0, image.width, image.height).data;
      const seen = new Set();
      for (let i = 0; i < pixels.length; i += 4) {
        seen.add(`${pixels[i] >> 5},${pixels[i + 1] >> 5},${pixels[i + 2] >> 5}`);
      }
      return seen.size;
    }, png.toString("base64"));
    assert.ok(colours > 40, `the map shows ${colours} distinct colours`);
  });
});
