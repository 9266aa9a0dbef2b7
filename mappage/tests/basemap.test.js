import assert from "node:assert/strict";
import { mkdir } from "node:fs/promises";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { MAP_FOLDER, openMapPage } from "./support/page.js";
import { pmtilesArchive, pointTile, tileOf } from "./support/pmtilesArchive.js";
import { assertWellFormed } from "./support/protocol.js";
import { startServer } from "./support/server.js";

// The page against a basemap: POI queries answered from a tile source this test serves, the
// world background when no tile server answers, and the screenshot kept for people to look at.

const ZOOM = 14;
const CENTRE = [6.958, 50.941];
const POIS = [
  { id: 11, lng: 6.955, lat: 50.94, properties: { kind: "cafe", name: "Café Reichard" } },
  { id: 12, lng: 6.957, lat: 50.942, properties: { kind: "bakery", name: "Bäckerei" } },
  { id: 13, lng: 6.959, lat: 50.9405, properties: { kind: "drinking_water" } },
  { id: 14, lng: 6.956, lat: 50.941, properties: { kind: "bench", name: "Bank" } },
  { id: 15, lng: 6.97, lat: 50.935, properties: { kind: "cafe", name: "Far away" } },
];
const ARTIFACTS = process.env.ZUVO_ARTIFACT_DIR ?? path.resolve("../build/artifacts");

function basemap() {
  const [x, y] = tileOf(...CENTRE, ZOOM);
  const tiles = [-1, 0, 1].flatMap((dx) =>
    [-1, 0, 1].map((dy) => {
      const points = POIS.filter((p) => {
        const [px, py] = tileOf(p.lng, p.lat, ZOOM);
        return px === x + dx && py === y + dy;
      });
      return {
        z: ZOOM,
        x: x + dx,
        y: y + dy,
        data: pointTile({ layer: "pois", z: ZOOM, x: x + dx, y: y + dy, points }),
      };
    }),
  );
  return pmtilesArchive(tiles, { minZoom: ZOOM, maxZoom: ZOOM });
}

describe("with a basemap", () => {
  let server;
  let map;
  before(async () => {
    server = await startServer({ mapFolder: MAP_FOLDER });
    server.files.set("/pmtiles/basemap.pmtiles", basemap());
    map = await openMapPage(server);
  });
  after(async () => {
    assertWellFormed(await map.events());
    await map.close();
    await server.close();
  });

  test("queryPOIs answers with the POIs of the asked categories inside the box", async () => {
    await map.send("fit", { bounds: [6.953, 50.938, 6.962, 50.944], animated: false });
    await map.idle();
    const seen = await map.mark();
    await map.send("queryPOIs", {
      bbox: [6.95, 50.937, 6.965, 50.945],
      categories: ["cafe", "drinking_water", "bicycle"],
    });
    await map.page.waitForFunction(() =>
      window.zuvoTestEvents.some((e) => e.event === "poisResult"),
    );
    const [result] = await seen("poisResult");
    const pois = [...result.pois].sort((a, b) => a.id.localeCompare(b.id));
    assert.deepEqual(
      pois.map(({ id, category, name }) => ({ id, category, name })),
      [
        { id: "osm-11", category: "cafe", name: "Café Reichard" },
        { id: "osm-13", category: "drinking_water", name: "" },
      ],
    );
    assert.ok(Math.abs(pois[0].lng - 6.955) < 1e-4 && Math.abs(pois[0].lat - 50.94) < 1e-4);
  });

  test("an empty category list finds nothing", async () => {
    const seen = await map.mark();
    await map.send("queryPOIs", { bbox: [6.95, 50.937, 6.965, 50.945], categories: [] });
    await map.page.waitForFunction(
      (from) => window.zuvoTestEvents.slice(from).some((e) => e.event === "poisResult"),
      (await map.events()).length - 1,
    );
    assert.deepEqual((await seen("poisResult"))[0].pois, []);
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
