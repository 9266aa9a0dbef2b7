import { requireString } from "./validate.js";

const LAYER = "zuvo-street-highlight";

// Highlights the basemap roads carrying a name; the empty name clears the highlight.
export function createStreetHighlight(map) {
  map.addLayer({
    id: LAYER,
    type: "line",
    source: "protomaps",
    "source-layer": "roads",
    filter: ["==", ["get", "name"], ""],
    layout: { visibility: "none", "line-cap": "round", "line-join": "round" },
    paint: { "line-color": "#E84A5F", "line-width": 8, "line-opacity": 0.55 },
  });

  return {
    set(payload) {
      const name = requireString(payload, "name");
      map.setFilter(LAYER, ["==", ["get", "name"], name]);
      map.setLayoutProperty(LAYER, "visibility", name === "" ? "none" : "visible");
    },
  };
}
