import { Marker, createMarkerSet, markerElement, setMarkerClasses } from "./markers.js";
import { PayloadError, requireArray, requireLngLat, requireObject } from "./validate.js";

const KINDS = new Set(["via", "shaping"]);
const ROLES = new Set(["start", "end", ""]);

function readAnchor(value, index) {
  const anchor = requireObject(value, `anchor ${index}`);
  const [lng, lat] = requireLngLat(anchor);
  if (typeof anchor.id !== "string" || anchor.id === "") {
    throw new PayloadError(`anchor ${index} has no id`);
  }
  if (!KINDS.has(anchor.kind)) throw new PayloadError(`anchor ${index} has kind "${anchor.kind}"`);
  const role = anchor.role ?? "";
  if (!ROLES.has(role)) throw new PayloadError(`anchor ${index} has role "${role}"`);
  return {
    id: anchor.id,
    lng,
    lat,
    kind: anchor.kind,
    role,
    selected: anchor.selected === true,
    dimmed: anchor.dimmed === true,
  };
}

function classesOf(anchor) {
  return [
    "zuvo-marker",
    "zuvo-anchor",
    `zuvo-anchor--${anchor.kind}`,
    anchor.role && `zuvo-anchor--${anchor.role}`,
    anchor.selected && "is-selected",
    anchor.dimmed && "is-dimmed",
  ];
}

// The anchor markers. Each can be dragged (posting anchorDrag while it moves and one dragEnd),
// clicked (anchorSelect) and right-clicked (contextMenu on the anchor).
export function createAnchors(map, { post, contextMenu }) {
  const set = createMarkerSet(map, {
    create(anchor) {
      const element = markerElement([]);
      element.dataset.id = anchor.id;
      const marker = new Marker({ element, draggable: true });
      marker.on("drag", () => {
        const { lng, lat } = marker.getLngLat();
        post({ event: "anchorDrag", id: anchor.id, lng, lat });
      });
      marker.on("dragend", () => post({ event: "dragEnd" }));
      element.addEventListener("click", (event) => {
        event.stopPropagation();
        post({ event: "anchorSelect", id: anchor.id });
      });
      element.addEventListener("contextmenu", (event) => {
        event.preventDefault();
        event.stopPropagation();
        contextMenu({ type: "anchor", id: anchor.id }, event);
      });
      return marker;
    },
    update(marker, anchor) {
      setMarkerClasses(marker.getElement(), classesOf(anchor));
    },
  });

  return {
    set(payload) {
      set.replace(requireArray(payload, "anchors").map(readAnchor));
    },
    move(id, lngLat) {
      set.get(id)?.setLngLat(lngLat);
    },
    hasSelection() {
      return set.all().some((marker) => marker.getElement().classList.contains("is-selected"));
    },
  };
}
