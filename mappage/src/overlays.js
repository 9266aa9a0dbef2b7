import { PayloadError, requireArray, requireBoolean } from "./validate.js";

const TERRAIN_SOURCE = "zuvo-terrain";
const DEM_SOURCE = "zuvo-dem";
const TERRAIN_PITCH = 55;

// Optional layers shown or hidden by id, and the 3D terrain. The terrain uses its own copy of the
// elevation source so that hillshade and terrain do not compete for one source's tiles.
export function createOverlays(map, { log }) {
  const dem = map.getStyle().sources[DEM_SOURCE];
  if (dem) map.addSource(TERRAIN_SOURCE, { ...dem });

  return {
    setOverlay(payload) {
      const ids = requireArray(payload, "ids");
      const visible = requireBoolean(payload, "visible");
      for (const id of ids) {
        if (typeof id === "string" && map.getLayer(id)) {
          map.setLayoutProperty(id, "visibility", visible ? "visible" : "none");
        } else {
          log(`setOverlay: no layer "${id}"`);
        }
      }
    },
    setTerrain3D(payload) {
      const enabled = requireBoolean(payload, "enabled");
      if (enabled && !map.getSource(TERRAIN_SOURCE)) {
        throw new PayloadError("3D terrain needs an elevation source");
      }
      map.setTerrain(enabled ? { source: TERRAIN_SOURCE, exaggeration: 1.4 } : null);
      map.easeTo({ pitch: enabled ? TERRAIN_PITCH : 0 });
    },
  };
}
