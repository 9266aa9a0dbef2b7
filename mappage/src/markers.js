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
          marker = create(item).setLngLat([item.lng, item.lat]).addTo(map);
          markers.set(item.id, marker);
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

// Gives a marker element exactly our `classes`, keeping the ones the map library set.
export function setMarkerClasses(element, classes) {
  const ours = [...element.classList].filter((c) => c.startsWith("zuvo-") || c.startsWith("is-"));
  element.classList.remove(...ours);
  element.classList.add(...classes.filter(Boolean));
}

// A marker element carrying `classes`.
export function markerElement(classes) {
  const element = document.createElement("div");
  element.className = ["zuvo-marker", ...classes].join(" ");
  return element;
}

export { Marker };
