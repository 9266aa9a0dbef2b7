// The events the page posts to the application, with the fields each one must carry. An event
// that lacks one is never posted: the application would drop it without a word.

const number = (value) => typeof value === "number" && Number.isFinite(value);
const string = (value) => typeof value === "string";
const boolean = (value) => typeof value === "boolean";
const object = (value) => value !== null && typeof value === "object" && !Array.isArray(value);

const CONTEXT_TARGETS = {
  anchor: (target) => string(target.id),
  poi: (target) => string(target.id),
  route: () => true,
  map: () => true,
};

const poiItem = (item) =>
  object(item) &&
  string(item.id) &&
  number(item.lng) &&
  number(item.lat) &&
  string(item.category) &&
  string(item.name);

const FIELDS = {
  ready: {},
  tap: { lng: number, lat: number, onRoute: boolean },
  anchorSelect: { id: (value) => value === undefined || string(value) },
  anchorDrag: { id: string, lng: number, lat: number },
  routeDragStart: { lng: number, lat: number },
  dragEnd: {},
  log: { message: string },
  poiSelect: { id: string },
  poisResult: { pois: (value) => Array.isArray(value) && value.every(poiItem) },
  contextMenu: {
    target: (value) => object(value) && CONTEXT_TARGETS[value.type]?.(value) === true,
    lng: number,
    lat: number,
    x: number,
    y: number,
  },
  viewChanged: { zoom: number, lat: number },
};

// Returns why `event` may not be posted, or null when it is well formed.
export function eventProblem(event) {
  if (!object(event)) return "an event must be an object";
  const fields = FIELDS[event.event];
  if (!fields) return `unknown event "${event.event}"`;
  for (const [key, valid] of Object.entries(fields)) {
    if (!valid(event[key])) return `event "${event.event}" has a bad "${key}"`;
  }
  return null;
}
