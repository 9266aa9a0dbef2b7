import { requireBoolean, requireBox, requireNumber } from "./validate.js";

const PADDING = 60;
const MAX_FIT_ZOOM = 17;

// "fit" moves the camera onto a box; every camera move ends with a viewChanged event.
// "setViewInsets" names the strips along the edges that the window covers with its own notices:
// a fit keeps the box clear of them, and a box framed since the user last moved the map is
// framed again when they change.
export function createCamera(map, { post }) {
  const report = () =>
    post({ event: "viewChanged", zoom: map.getZoom(), lat: map.getCenter().lat });
  // While the map moves the scale follows it a few times a second; the end of a move reports
  // the view it stops at.
  let moving = null;
  map.on("move", () => {
    moving ??= setTimeout(() => {
      moving = null;
      report();
    }, 100);
  });
  map.on("moveend", () => {
    clearTimeout(moving);
    moving = null;
    report();
  });

  let insets = { top: 0, right: 0, bottom: 0, left: 0 };
  let framed = null;
  map.on("movestart", (event) => {
    if (event.originalEvent) framed = null;
  });
  const frame = (bounds, animated) =>
    map.fitBounds(bounds, {
      padding: {
        top: PADDING + insets.top,
        right: PADDING + insets.right,
        bottom: PADDING + insets.bottom,
        left: PADDING + insets.left,
      },
      maxZoom: MAX_FIT_ZOOM,
      animate: animated,
    });

  return {
    report,
    fit(payload) {
      const [west, south, east, north] = requireBox(payload, "bounds");
      const animated = requireBoolean(payload, "animated");
      framed = [
        [west, south],
        [east, north],
      ];
      frame(framed, animated);
    },
    setViewInsets(payload) {
      const next = {};
      for (const side of ["top", "right", "bottom", "left"]) {
        next[side] = Math.max(0, requireNumber(payload, side));
      }
      insets = next;
      if (framed) frame(framed, false);
    },
  };
}
