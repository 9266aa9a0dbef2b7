import { requireBoolean, requireBox } from "./validate.js";

const SOURCE = "zuvo-server-area";
const LAYER = "zuvo-server-area-line";

// "showServerArea": the outline of the area the routing server covers, shown when a click fell
// outside it (or when the rider asks) and hidden again.
export function createServerArea(map) {
  map.addSource(SOURCE, { type: "geojson", data: { type: "FeatureCollection", features: [] } });
  map.addLayer({
    id: LAYER,
    type: "line",
    source: SOURCE,
    layout: { visibility: "none" },
    paint: { "line-color": "#3D6FB4", "line-width": 3, "line-dasharray": [2, 1.5] },
  });

  return {
    set(payload) {
      const [west, south, east, north] = requireBox(payload, "bounds");
      const visible = requireBoolean(payload, "visible");
      map.getSource(SOURCE).setData({
        type: "Feature",
        properties: {},
        geometry: {
          type: "LineString",
          coordinates: [
            [west, south],
            [east, south],
            [east, north],
            [west, north],
            [west, south],
          ],
        },
      });
      map.setLayoutProperty(LAYER, "visibility", visible ? "visible" : "none");
    },
  };
}
