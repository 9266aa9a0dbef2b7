import * as maplibregl from "../lib/maplibre-gl.js";
import { createAnchors } from "./anchors.js";
import { BASEMAP_SOURCE, createBasemapPOIs } from "./basemapPOIs.js";
import { createCamera } from "./camera.js";
import { createColors } from "./colors.js";
import { connectHost, log, post } from "./host.js";
import { contextMenuPoster, createInteraction } from "./interaction.js";
import { PRIVATE_SCHEME, privateSchemeProtocol } from "./loader.js";
import { createLoopSuggestions } from "./loops.js";
import { loadStyle } from "./mapStyle.js";
import { createOverlays } from "./overlays.js";
import { archiveOf, createPmtilesProtocol } from "./pmtilesSetup.js";
import { createServerArea } from "./serverArea.js";
import { createPointMarker } from "./pointMarker.js";
import { createPOIQuery } from "./poiQuery.js";
import { createPOIs } from "./pois.js";
import { readQuery } from "./query.js";
import { createReceiver } from "./receiver.js";
import { ROUTE_FLAT_COLOR, createRoute } from "./route.js";
import { createStreetHighlight } from "./street.js";
import { createTracks } from "./tracks.js";
import { requireBoolean } from "./validate.js";
import { addWorldBackground } from "./world.js";

const START = { center: [6.96, 50.94], zoom: 11 };

// Map errors (an unreachable tile server fails every tile) are logged once per message.
function logMapErrors(map) {
  const seen = new Set();
  map.on("error", ({ error }) => {
    const message = `map: ${error?.message ?? error}`;
    if (seen.has(message)) return;
    seen.add(message);
    log(message);
  });
}

// Everything the page draws and the command each part answers, in drawing order from the bottom.
function createCommands(map, query, basemap) {
  const contextMenu = contextMenuPoster(map, post);
  const street = createStreetHighlight(map);
  const tracks = createTracks(map);
  const loops = createLoopSuggestions(map);
  const route = createRoute(map);
  const anchors = createAnchors(map, { post, contextMenu });
  const pois = createPOIs(map, { post, contextMenu, customGlyph: query.customGlyph });
  const poiQuery = createPOIQuery(map, {
    post,
    log,
    basemapPOIs: basemap && createBasemapPOIs(basemap),
  });
  const overlays = createOverlays(map, { log });
  const colors = createColors(map, { route, routeFlatColor: ROUTE_FLAT_COLOR, log });
  const camera = createCamera(map, { post });
  const crosshair = createPointMarker(map, "zuvo-crosshair");
  const rideMarker = createPointMarker(map, "zuvo-ride-marker");
  const serverArea = createServerArea(map);
  const interaction = createInteraction(map, { post, route, anchors, contextMenu });

  return {
    camera,
    handlers: {
      setRoute: (payload) => route.set(payload),
      setAnchors: (payload) => anchors.set(payload),
      setImportedTracks: (payload) => tracks.set(payload),
      setPOIs: (payload) => pois.set(payload),
      setTool: (payload) => interaction.setTool(payload),
      setGradientMode: (payload) => route.setGradientMode(requireBoolean(payload, "enabled")),
      setOverlay: (payload) => overlays.setOverlay(payload),
      setTerrain3D: (payload) => overlays.setTerrain3D(payload),
      setCustomPOIGlyph: (payload) => pois.setCustomGlyph(payload),
      queryPOIs: (payload) => poiQuery.query(payload),
      fit: (payload) => camera.fit(payload),
      setViewInsets: (payload) => camera.setViewInsets(payload),
      setCrosshair: (payload) => crosshair.set(payload),
      highlightStreet: (payload) => street.set(payload),
      setRideMarker: (payload) => rideMarker.set(payload),
      showServerArea: (payload) => serverArea.set(payload),
      setLoopSuggestions: (payload) => loops.set(payload),
      beginSyntheticDrag: (payload) => interaction.beginSyntheticDrag(payload),
      setMapColors: (payload) => colors.set(payload),
    },
  };
}

async function start() {
  const hostReady = connectHost();
  maplibregl.setWorkerUrl(new URL("lib/maplibre-gl-worker.js", window.location.href).href);
  maplibregl.addProtocol(PRIVATE_SCHEME, privateSchemeProtocol);
  const pmtilesProtocol = createPmtilesProtocol();
  maplibregl.addProtocol("pmtiles", pmtilesProtocol.tile);

  const query = readQuery(window.location.search);
  const style = await loadStyle(query, pmtilesProtocol);
  const map = new maplibregl.Map({ container: "map", style, ...START, maxPitch: 70 });
  logMapErrors(map);
  // The style is enough to add the page's own layers; tiles may take long or never come.
  if (!map.isStyleLoaded()) await map.once("style.load");

  const commands = createCommands(map, query, archiveOf(style, BASEMAP_SOURCE, pmtilesProtocol));
  window.zuvo = { receive: createReceiver(commands.handlers, log), map };
  addWorldBackground(map, "earth").catch((error) => log(`world background: ${error.message}`));
  await hostReady;
  post({ event: "ready" });
  commands.camera.report();
}

start().catch((error) => log(`the map could not start: ${error.message}`));
