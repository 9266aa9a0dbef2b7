import { requireBoolean, requireBox } from "./validate.js";

const PADDING = 60;
const MAX_FIT_ZOOM = 17;

// "fit" moves the camera onto a box; every camera move ends with a viewChanged event.
export function createCamera(map, { post }) {
  const report = () =>
    post({ event: "viewChanged", zoom: map.getZoom(), lat: map.getCenter().lat });
  map.on("moveend", report);

  return {
    report,
    fit(payload) {
      const [west, south, east, north] = requireBox(payload, "bounds");
      const animated = requireBoolean(payload, "animated");
      map.fitBounds(
        [
          [west, south],
          [east, north],
        ],
        { padding: PADDING, maxZoom: MAX_FIT_ZOOM, animate: animated },
      );
    },
  };
}
