import { BASEMAP_SOURCE, POI_LAYER } from "./basemapPOIs.js";
import { PayloadError, requireArray, requireBox } from "./validate.js";

function inBox([lng, lat], [west, south, east, north]) {
  return lng >= west && lng <= east && lat >= south && lat <= north;
}

// Answers "queryPOIs": the basemap's POIs of the asked categories (its POI kinds) in a box, read
// from the basemap archive through `basemapPOIs` (null when the style has none) and merged with
// the POIs of the tiles the map has loaded.
export function createPOIQuery(map, { post, log, basemapPOIs }) {
  // The basemap's POIs of the map's loaded tiles, once loading has settled.
  async function loadedFeatures() {
    if (!map.getSource(BASEMAP_SOURCE)) return [];
    if (!map.areTilesLoaded()) await map.once("idle");
    return map
      .querySourceFeatures(BASEMAP_SOURCE, { sourceLayer: POI_LAYER })
      .filter((feature) => feature.geometry.type === "Point")
      .map(({ id, properties, geometry }) => {
        const [lng, lat] = geometry.coordinates;
        return { id, properties, lng, lat };
      });
  }

  // The archive answers for the whole box, the loaded tiles for what lies beyond its tile cap.
  async function archiveFeatures(box) {
    if (!basemapPOIs) return [];
    try {
      const { features, failures } = await basemapPOIs.search(box);
      if (failures.length > 0) {
        log(`queryPOIs: ${failures.length} basemap tiles could not be read: ${failures[0]}`);
      }
      return features;
    } catch (error) {
      log(`queryPOIs: the basemap cannot be read: ${error.message ?? error}`);
      return [];
    }
  }

  async function findPOIs(box, categories) {
    if (categories.size === 0) return [];
    const [read, loaded] = await Promise.all([archiveFeatures(box), loadedFeatures()]);
    const found = new Map();
    for (const { id, properties, lng, lat } of [...read, ...loaded]) {
      const kind = properties.kind;
      if (!categories.has(kind) || !inBox([lng, lat], box)) continue;
      const key = id !== undefined ? `osm-${id}` : `${kind}-${lng.toFixed(6)},${lat.toFixed(6)}`;
      if (found.has(key)) continue;
      const name = typeof properties.name === "string" ? properties.name : "";
      found.set(key, { id: key, lng, lat, category: kind, name });
    }
    return [...found.values()];
  }

  // Answers leave in the order of the queries, so that a slow answer never replaces a newer one.
  let lastAnswer = Promise.resolve();

  return {
    query(payload) {
      const box = requireBox(payload, "bbox");
      const categories = requireArray(payload, "categories");
      if (!categories.every((category) => typeof category === "string")) {
        throw new PayloadError('"categories" must be a list of strings');
      }
      const found = findPOIs(box, new Set(categories));
      const answer = lastAnswer
        .then(() => found)
        .then((pois) => post({ event: "poisResult", pois }));
      lastAnswer = answer.catch(() => {});
      return answer;
    },
  };
}
