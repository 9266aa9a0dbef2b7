import {
  PayloadError,
  isHexColor,
  requireArray,
  requireObject,
  requirePositions,
} from "./validate.js";

const MAX_LOOPS = 3;
const SOURCE = "zuvo-loops";
const CASING_LAYER = "zuvo-loops-casing";
const LINE_LAYER = "zuvo-loops-line";
const NORMAL_WIDTH = 4;
const HIGHLIGHTED_WIDTH = 7;
const DIMMED_OPACITY = 0.45;

function readLoop(value, index) {
  const loop = requireObject(value, `loop ${index}`);
  const coordinates = requirePositions(loop, "coordinates");
  if (coordinates.length < 2) {
    throw new PayloadError(`loop ${index} needs at least two positions`);
  }
  const bad = coordinates.findIndex(([lng]) => Math.abs(lng) > 180);
  if (bad >= 0) {
    throw new PayloadError(`loop ${index} position ${bad} has its longitude out of range`);
  }
  if (!isHexColor(loop.color)) {
    throw new PayloadError(`loop ${index} needs a "color" like #RRGGBB, not ${loop.color}`);
  }
  return { color: loop.color, coordinates };
}

function readHighlighted(payload, count) {
  const highlighted = payload.highlighted;
  if (!Number.isInteger(highlighted) || highlighted < -1 || highlighted >= count) {
    throw new PayloadError(`"highlighted" must be -1 or the index of one of the ${count} loops`);
  }
  return highlighted;
}

// The emphasis a loop is drawn with, by its "state" property.
const byState = (highlighted, dimmed, normal) => [
  "match",
  ["get", "state"],
  "highlighted",
  highlighted,
  "dimmed",
  dimmed,
  normal,
];

// "setLoopSuggestions": the suggested round trips, each in its own colour, one of them possibly
// highlighted. They sit above the shown tracks and below the planned route, so the caller creates
// them between the two.
export function createLoopSuggestions(map) {
  map.addSource(SOURCE, { type: "geojson", data: { type: "FeatureCollection", features: [] } });
  const layout = { "line-cap": "round", "line-join": "round" };
  const opacity = byState(1, DIMMED_OPACITY, 1);
  // A dark edge a pixel wide on each side keeps light colours readable on the light basemap.
  map.addLayer({
    id: CASING_LAYER,
    type: "line",
    source: SOURCE,
    layout,
    paint: {
      "line-color": "#1E2328",
      "line-width": byState(HIGHLIGHTED_WIDTH + 2, NORMAL_WIDTH + 2, NORMAL_WIDTH + 2),
      "line-opacity": opacity,
    },
  });
  map.addLayer({
    id: LINE_LAYER,
    type: "line",
    source: SOURCE,
    layout,
    paint: {
      "line-color": ["get", "color"],
      "line-width": byState(HIGHLIGHTED_WIDTH, NORMAL_WIDTH, NORMAL_WIDTH),
      "line-opacity": opacity,
    },
  });

  return {
    set(payload) {
      const loops = requireArray(payload, "loops");
      if (loops.length > MAX_LOOPS) {
        throw new PayloadError(`at most ${MAX_LOOPS} loops, not ${loops.length}`);
      }
      const read = loops.map(readLoop);
      const highlighted = readHighlighted(payload, read.length);
      const stateOf = (index) => {
        if (highlighted < 0) return "normal";
        return index === highlighted ? "highlighted" : "dimmed";
      };
      const features = read.map(({ color, coordinates }, index) => ({
        type: "Feature",
        properties: { index, color, state: stateOf(index) },
        geometry: { type: "LineString", coordinates },
      }));
      // A line layer draws its features in order, so the highlighted loop goes last to lie on top.
      if (highlighted >= 0) features.push(...features.splice(highlighted, 1));
      map.getSource(SOURCE).setData({ type: "FeatureCollection", features });
    },
  };
}
