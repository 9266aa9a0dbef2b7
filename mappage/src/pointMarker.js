import { Marker, markerElement } from "./markers.js";
import { requireBoolean, requireLngLat } from "./validate.js";

// A single marker that commands show at a position or hide (the crosshair of a search result,
// the position of a hovered track sample).
export function createPointMarker(map, className) {
  const marker = new Marker({ element: markerElement([className]) });
  let shown = false;

  return {
    set(payload) {
      const position = requireLngLat(payload);
      const visible = requireBoolean(payload, "visible");
      marker.setLngLat(position);
      if (visible && !shown) marker.addTo(map);
      if (!visible && shown) marker.remove();
      shown = visible;
    },
  };
}
