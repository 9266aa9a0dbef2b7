import { Marker, createMarkerSet, markerElement, setMarkerClasses } from "./markers.js";
import {
  PayloadError,
  requireArray,
  requireBox,
  requireLngLat,
  requireObject,
  requireString,
} from "./validate.js";

// Symbols of the POI categories; user POIs ("custom") use the glyph the user picked.
const GLYPHS = {
  favorite: "★",
  drinking_water: "🚰",
  cafe: "☕",
  bakery: "🥐",
  bicycle: "🚲",
  supermarket: "🛒",
  search: "📍",
};
const FALLBACK_GLYPH = "•";
const BASEMAP = "protomaps";
const BASEMAP_POI_LAYER = "pois";

function readPOI(value, index) {
  const poi = requireObject(value, `POI ${index}`);
  const [lng, lat] = requireLngLat(poi);
  if (typeof poi.id !== "string" || typeof poi.category !== "string") {
    throw new PayloadError(`POI ${index} needs a string "id" and "category"`);
  }
  return {
    id: poi.id,
    lng,
    lat,
    category: poi.category,
    selected: poi.selected === true,
    dimmed: poi.dimmed === true,
  };
}

function inBox([lng, lat], [west, south, east, north]) {
  return lng >= west && lng <= east && lat >= south && lat <= north;
}

// The POI markers ("setPOIs") and the search of the basemap's POIs ("queryPOIs").
export function createPOIs(map, { post, contextMenu, customGlyph }) {
  let glyphOfCustom = customGlyph;
  const glyphOf = (category) =>
    category === "custom" ? glyphOfCustom : (GLYPHS[category] ?? FALLBACK_GLYPH);

  const set = createMarkerSet(map, {
    create(poi) {
      const element = markerElement([]);
      element.dataset.id = poi.id;
      element.addEventListener("click", (event) => {
        event.stopPropagation();
        post({ event: "poiSelect", id: poi.id });
      });
      element.addEventListener("contextmenu", (event) => {
        event.preventDefault();
        event.stopPropagation();
        contextMenu({ type: "poi", id: poi.id }, event);
      });
      return new Marker({ element });
    },
    update(marker, poi) {
      const element = marker.getElement();
      element.dataset.category = poi.category;
      setMarkerClasses(element, [
        "zuvo-marker",
        "zuvo-poi",
        `zuvo-poi--${poi.category}`,
        poi.selected && "is-selected",
        poi.dimmed && "is-dimmed",
      ]);
      element.textContent = glyphOf(poi.category);
    },
  });

  // The POIs of the basemap tiles the map has loaded, once loading has settled.
  async function findPOIs(box, categories) {
    if (!map.getSource(BASEMAP)) return [];
    if (!map.areTilesLoaded()) await map.once("idle");
    const found = new Map();
    const features = map.querySourceFeatures(BASEMAP, { sourceLayer: BASEMAP_POI_LAYER });
    for (const feature of features) {
      const kind = feature.properties.kind;
      if (!categories.has(kind) || feature.geometry.type !== "Point") continue;
      const [lng, lat] = feature.geometry.coordinates;
      if (!inBox([lng, lat], box)) continue;
      const id =
        feature.id !== undefined
          ? `osm-${feature.id}`
          : `${kind}-${lng.toFixed(6)},${lat.toFixed(6)}`;
      const name = feature.properties.name;
      found.set(id, { id, lng, lat, category: kind, name: typeof name === "string" ? name : "" });
    }
    return [...found.values()];
  }

  return {
    set(payload) {
      set.replace(requireArray(payload, "pois").map(readPOI));
    },
    setCustomGlyph(payload) {
      glyphOfCustom = requireString(payload, "glyph");
      for (const marker of set.all()) {
        if (marker.getElement().dataset.category === "custom") {
          marker.getElement().textContent = glyphOfCustom;
        }
      }
    },
    async query(payload) {
      const box = requireBox(payload, "bbox");
      const categories = requireArray(payload, "categories");
      if (!categories.every((category) => typeof category === "string")) {
        throw new PayloadError('"categories" must be a list of strings');
      }
      const pois = await findPOIs(box, new Set(categories));
      post({ event: "poisResult", pois });
    },
  };
}
