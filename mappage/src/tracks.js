import { PayloadError, requireArray, requireObject, requirePositions } from "./validate.js";

// The page's palette for shown tracks, picked by the track's colour slot.
const TRACK_PALETTE = ["#8E44AD", "#16A085", "#2980B9", "#C0392B", "#D35400", "#7F8C8D"];
const SOURCE = "zuvo-tracks";

function readTrack(value, index) {
  const track = requireObject(value, `track ${index}`);
  if (typeof track.id !== "string") throw new PayloadError(`track ${index} has no id`);
  if (!Number.isInteger(track.colorIndex)) {
    throw new PayloadError(`track ${index} has no integer "colorIndex"`);
  }
  const count = TRACK_PALETTE.length;
  const slot = ((track.colorIndex % count) + count) % count;
  return {
    type: "Feature",
    properties: { id: track.id, color: TRACK_PALETTE[slot] },
    geometry: { type: "LineString", coordinates: requirePositions(track, "coordinates") },
  };
}

export function createTracks(map) {
  map.addSource(SOURCE, { type: "geojson", data: { type: "FeatureCollection", features: [] } });
  map.addLayer({
    id: "zuvo-tracks-line",
    type: "line",
    source: SOURCE,
    layout: { "line-cap": "round", "line-join": "round" },
    paint: { "line-color": ["get", "color"], "line-width": 3.5, "line-opacity": 0.85 },
  });

  return {
    set(payload) {
      const features = requireArray(payload, "tracks").map(readTrack);
      map.getSource(SOURCE).setData({ type: "FeatureCollection", features });
    },
  };
}
