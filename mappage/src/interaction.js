import { PayloadError, requireString } from "./validate.js";

const TOOLS = new Set(["select", "via", "shaping"]);
const DRAG_THRESHOLD = 4;

const pointIn = (container, event) => {
  const rect = container.getBoundingClientRect();
  return { x: event.clientX - rect.left, y: event.clientY - rect.top };
};

// Posts contextMenu for a right click on `target` ({type, id?}) at the pointer's view position.
export function contextMenuPoster(map, post) {
  return (target, domEvent) => {
    const point = pointIn(map.getContainer(), domEvent);
    const { lng, lat } = map.unproject([point.x, point.y]);
    post({ event: "contextMenu", target, lng, lat, x: point.x, y: point.y });
  };
}

// Pointer input on the map: clicks become taps (or deselection with the select tool), right
// clicks become context menus, and a drag that starts on the route line becomes routeDragStart.
// When the application answers with "beginSyntheticDrag", the same gesture carries on as a drag
// of the new anchor.
export function createInteraction(map, { post, route, anchors, contextMenu }) {
  const container = map.getContainer();
  let tool = "select";
  let gesture = null;

  const pointOf = (event) => pointIn(container, event);
  const onMarker = (event) =>
    event.target instanceof Element && event.target.closest(".zuvo-marker");

  function dragAnchor(lngLat) {
    anchors.move(gesture.id, lngLat);
    post({ event: "anchorDrag", id: gesture.id, lng: lngLat.lng, lat: lngLat.lat });
  }

  function onPointerMove(event) {
    const point = pointOf(event);
    gesture.last = map.unproject([point.x, point.y]);
    if (!gesture.dragging) {
      const moved = Math.hypot(point.x - gesture.start.x, point.y - gesture.start.y);
      if (moved < DRAG_THRESHOLD) return;
      gesture.dragging = true;
      const { lng, lat } = map.unproject([gesture.start.x, gesture.start.y]);
      post({ event: "routeDragStart", lng, lat });
    }
    if (gesture.id) dragAnchor(gesture.last);
  }

  function onPointerUp() {
    window.removeEventListener("mousemove", onPointerMove);
    window.removeEventListener("mouseup", onPointerUp);
    gesture.released = true;
    if (!gesture.dragging) gesture = null;
    else if (gesture.id) finishDrag();
  }

  function finishDrag() {
    post({ event: "dragEnd" });
    gesture = null;
  }

  map.on("mousedown", (event) => {
    gesture = null;
    if (event.originalEvent.button !== 0 || onMarker(event.originalEvent)) return;
    if (!route.isHit(event.point)) return;
    event.preventDefault(); // the map must not pan while the route is dragged
    gesture = { start: event.point, last: event.lngLat, dragging: false, released: false };
    window.addEventListener("mousemove", onPointerMove);
    window.addEventListener("mouseup", onPointerUp);
  });

  map.on("click", (event) => {
    if (onMarker(event.originalEvent)) return;
    const { lng, lat } = event.lngLat;
    const onRoute = route.isHit(event.point);
    post({ event: "tap", lng, lat, onRoute });
    if (tool === "select" && !onRoute && anchors.hasSelection()) post({ event: "anchorSelect" });
  });

  map.on("contextmenu", (event) => {
    if (onMarker(event.originalEvent)) return;
    contextMenu({ type: route.isHit(event.point) ? "route" : "map" }, event.originalEvent);
  });
  container.addEventListener("contextmenu", (event) => event.preventDefault());

  return {
    setTool(payload) {
      const name = requireString(payload, "tool");
      if (!TOOLS.has(name)) throw new PayloadError(`unknown tool "${name}"`);
      container.classList.remove(`zuvo-tool-${tool}`);
      tool = name;
      container.classList.add(`zuvo-tool-${tool}`);
      // Two quick clicks with a placing tool are two anchors, not a zoom.
      if (tool === "select") map.doubleClickZoom.enable();
      else map.doubleClickZoom.disable();
    },
    beginSyntheticDrag(payload) {
      const id = requireString(payload, "id");
      if (!gesture?.dragging) {
        throw new PayloadError(`beginSyntheticDrag for ${id} without a drag on the route`);
      }
      gesture.id = id;
      dragAnchor(gesture.last);
      // A gesture that ended before the anchor existed leaves the anchor where it was let go.
      if (gesture.released) finishDrag();
    },
  };
}
