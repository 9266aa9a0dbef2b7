import { PayloadError, isHexColor, requireObject } from "./validate.js";

// The style layers of each colour component the application lets the user recolour.
const COLOR_COMPONENTS = {
  background: ["background", "earth"],
  "landuse-park": ["landuse-park"],
  "natural-wood": ["natural-wood"],
  water: ["water"],
  "roads-minor": ["roads-minor"],
  "roads-medium": ["roads-medium"],
  "roads-major": ["roads-major"],
  "roads-path": ["roads-path"],
  boundaries: ["boundaries"],
  "places-labels": ["places-labels"],
  "roads-labels": ["roads-labels", "roads-labels-minor"],
  "zuvo-cycle-line": ["zuvo-cycle-line"],
  "route-flat": [],
};
const RESET = "__reset__";
const COLOR_PROPERTY = {
  background: "background-color",
  fill: "fill-color",
  line: "line-color",
  symbol: "text-color",
};

// Applies "setMapColors": each component id maps to a colour text or to "__reset__", which
// brings back the colour the page started with.
export function createColors(map, { route, routeFlatColor, log }) {
  const original = new Map();
  for (const layer of map.getStyle().layers) {
    const property = COLOR_PROPERTY[layer.type];
    if (property) original.set(layer.id, map.getPaintProperty(layer.id, property));
  }

  function paintLayer(id, color) {
    const layer = map.getLayer(id);
    if (!layer) {
      log(`setMapColors: no layer "${id}"`);
      return;
    }
    map.setPaintProperty(id, COLOR_PROPERTY[layer.type], color ?? original.get(id));
  }

  function apply(component, value) {
    if (!(component in COLOR_COMPONENTS)) {
      throw new PayloadError(`unknown colour component "${component}"`);
    }
    if (value !== RESET && !isHexColor(value)) {
      throw new PayloadError(`"${component}" needs a colour like #RRGGBB, not ${value}`);
    }
    const color = value === RESET ? null : value;
    if (component === "route-flat") {
      route.setFlatColor(color ?? routeFlatColor);
    } else {
      COLOR_COMPONENTS[component].forEach((id) => paintLayer(id, color));
    }
  }

  return {
    set(payload) {
      // Each component on its own, so that one bad entry does not cost the others.
      for (const [component, value] of Object.entries(requireObject(payload, "payload"))) {
        try {
          apply(component, value);
        } catch (error) {
          if (!(error instanceof PayloadError)) throw error;
          log(`setMapColors: ${error.message}`);
        }
      }
    },
  };
}
