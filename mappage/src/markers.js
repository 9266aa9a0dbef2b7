import { Marker } from "../lib/maplibre-gl.js";

// Keeps one HTML marker per id in step with the list last received: new ids get a marker,
// missing ids lose theirs, and the rest are moved and restyled in place.
export function createMarkerSet(map, { create, update }) {
  const markers = new Map();

  return {
    replace(items) {
      const seen = new Set();
      for (const item of items) {
        seen.add(item.id);
        let marker = markers.get(item.id);
        if (!marker) {
          marker = create(item);
          markers.set(item.id, marker);
          marker.addTo(map);
        }
        marker.setLngLat([item.lng, item.lat]);
        update(marker, item);
      }
      for (const [id, marker] of markers) {
        if (!seen.has(id)) {
          marker.remove();
          markers.delete(id);
        }
      }
    },
    get(id) {
      return markers.get(id);
    },
    all() {
      return [...markers.values()];
    },
  };
}

// A marker element carrying `classes`; `text` is its visible label, if any.
export function markerElement(classes, text = "") {
  const element = document.createElement("div");
  element.className = ["zuvo-marker", ...classes].join(" ");
  element.textContent = text;
  return element;
}

export { Marker };
