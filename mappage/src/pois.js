import { Marker, createMarkerSet, markerElement, setMarkerClasses } from "./markers.js";
import { FALLBACK_GLYPH, POI_GLYPHS } from "./poiGlyphs.js";
import {
  PayloadError,
  requireArray,
  requireLngLat,
  requireObject,
  requireString,
} from "./validate.js";

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

// The POI markers ("setPOIs", "setCustomPOIGlyph").
export function createPOIs(map, { post, contextMenu, customGlyph }) {
  let glyphOfCustom = customGlyph;
  const glyphOf = (category) =>
    category === "custom" ? glyphOfCustom : (POI_GLYPHS[category] ?? FALLBACK_GLYPH);

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
  };
}
