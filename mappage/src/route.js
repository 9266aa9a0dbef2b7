import { gradeGradient } from "./gradeColors.js";
import { PayloadError, isFiniteNumber, requirePositions } from "./validate.js";

export const ROUTE_FLAT_COLOR = "#FF7A18";
const SOURCE = "zuvo-route";
const ROUTE_LINE_LAYER = "zuvo-route-line";
const HIT_LAYER = "zuvo-route-hit";

const lineString = (coordinates) => ({
  type: "Feature",
  properties: {},
  geometry: { type: "LineString", coordinates },
});

function optionalNumbers(payload, key) {
  const value = payload[key];
  if (value === undefined || value === null) return null;
  if (!Array.isArray(value) || !value.every(isFiniteNumber)) {
    throw new PayloadError(`"${key}" must be a list of numbers`);
  }
  return value;
}

// The planned route: one line in a flat colour, or coloured by grade in gradient mode.
export function createRoute(map) {
  let flatColor = ROUTE_FLAT_COLOR;
  let gradientMode = false;
  let gradient = null;

  map.addSource(SOURCE, { type: "geojson", lineMetrics: true, data: lineString([]) });
  const layout = { "line-cap": "round", "line-join": "round" };
  map.addLayer({
    id: "zuvo-route-casing",
    type: "line",
    source: SOURCE,
    layout,
    paint: { "line-color": "#FFFFFF", "line-width": 9 },
  });
  map.addLayer({
    id: ROUTE_LINE_LAYER,
    type: "line",
    source: SOURCE,
    layout,
    paint: { "line-color": flatColor, "line-width": 5 },
  });
  // A wide invisible line that makes the route easy to hit with the pointer.
  map.addLayer({
    id: HIT_LAYER,
    type: "line",
    source: SOURCE,
    layout,
    paint: { "line-color": "#000000", "line-opacity": 0, "line-width": 16 },
  });

  function paint() {
    const useGradient = gradientMode && gradient !== null;
    map.setPaintProperty(ROUTE_LINE_LAYER, "line-gradient", useGradient ? gradient : undefined);
    map.setPaintProperty(ROUTE_LINE_LAYER, "line-color", flatColor);
  }

  return {
    set(payload) {
      const coordinates = requirePositions(payload, "coordinates");
      const grades = optionalNumbers(payload, "grades");
      const progress = optionalNumbers(payload, "progress");
      gradient = grades && progress ? gradeGradient(grades, progress) : null;
      map.getSource(SOURCE).setData(lineString(coordinates));
      paint();
    },
    setGradientMode(enabled) {
      gradientMode = enabled;
      paint();
    },
    setFlatColor(color) {
      flatColor = color;
      paint();
    },
    isHit(point) {
      const box = [
        [point.x - 3, point.y - 3],
        [point.x + 3, point.y + 3],
      ];
      return map.queryRenderedFeatures(box, { layers: [HIT_LAYER] }).length > 0;
    },
  };
}
