import assert from "node:assert/strict";

// The fields the application requires of each event. Kept apart from the page's own list, so
// that a test notices when the page posts an event the application would drop.
const number = (v) => typeof v === "number" && Number.isFinite(v);
const string = (v) => typeof v === "string";
const REQUIRED = {
  ready: {},
  tap: { lng: number, lat: number },
  anchorSelect: {},
  anchorDrag: { id: string, lng: number, lat: number },
  routeDragStart: { lng: number, lat: number },
  dragEnd: {},
  log: { message: string },
  poiSelect: { id: string },
  poisResult: {
    pois: (list) =>
      Array.isArray(list) &&
      list.every((p) => string(p.id) && number(p.lng) && number(p.lat) && string(p.category)),
  },
  contextMenu: {
    target: (t) =>
      t &&
      ["anchor", "poi", "route", "map"].includes(t.type) &&
      (!["anchor", "poi"].includes(t.type) || string(t.id)),
    lng: number,
    lat: number,
    x: number,
    y: number,
  },
  viewChanged: { zoom: number, lat: number },
};

export function assertWellFormed(events) {
  for (const event of events) {
    const fields = REQUIRED[event.event];
    assert.ok(fields, `unknown event ${JSON.stringify(event)}`);
    for (const [key, valid] of Object.entries(fields)) {
      assert.ok(
        valid(event[key]),
        `event ${event.event} lacks a valid "${key}": ${JSON.stringify(event)}`,
      );
    }
  }
}
