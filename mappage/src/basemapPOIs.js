import { PbfReader } from "../lib/pbf.js";
import { VectorTile } from "../lib/vector-tile.js";
import { tilesCovering } from "./tileCover.js";

// The style's source of the Protomaps basemap and the source layer of its POIs.
export const BASEMAP_SOURCE = "protomaps";
export const POI_LAYER = "pois";
// The basemap's tiles of zoom 15 carry all of its POIs; lower zooms keep only prominent ones.
const POI_ZOOM = 15;
const MAX_TILES_PER_QUERY = 64;
const CACHED_TILES = 512;

function tilePOIs(data, { z, x, y }) {
  const layer = new VectorTile(new PbfReader(new Uint8Array(data))).layers[POI_LAYER];
  const pois = [];
  for (let i = 0; i < (layer?.length ?? 0); i++) {
    const feature = layer.feature(i);
    if (feature.type !== 1) continue;
    const { geometry } = feature.toGeoJSON(x, y, z);
    if (geometry.type !== "Point") continue;
    const [lng, lat] = geometry.coordinates;
    pois.push({ id: feature.id, properties: feature.properties, lng, lat });
  }
  return pois;
}

// Reads the POIs of a box straight from the basemap's PMTiles archive, whatever the map has
// loaded: the POI tiles nearest to the box's centre, at most MAX_TILES_PER_QUERY per search.
// Decoded tiles stay in a cache, so that a route edited in one place reads only new tiles.
export function createBasemapPOIs(archive) {
  const cache = new Map();

  function cachedTile(tile) {
    const key = `${tile.z}/${tile.x}/${tile.y}`;
    let pois = cache.get(key);
    if (pois) {
      cache.delete(key);
    } else {
      pois = archive
        .getZxy(tile.z, tile.x, tile.y)
        .then((found) => (found ? tilePOIs(found.data, tile) : []));
      pois.catch(() => cache.delete(key));
      if (cache.size >= CACHED_TILES) cache.delete(cache.keys().next().value);
    }
    cache.set(key, pois);
    return pois;
  }

  return {
    // Resolves to the basemap features {id, properties, lng, lat} of the tiles that cover the box,
    // and the reasons for the tiles that could not be read.
    async search(box) {
      const header = await archive.getHeader();
      const tiles = tilesCovering(box, Math.min(POI_ZOOM, header.maxZoom), MAX_TILES_PER_QUERY);
      const results = await Promise.allSettled(tiles.map(cachedTile));
      return {
        features: results.flatMap((result) => (result.status === "fulfilled" ? result.value : [])),
        failures: results
          .filter((result) => result.status === "rejected")
          .map((result) => result.reason?.message ?? String(result.reason)),
      };
    },
  };
}
