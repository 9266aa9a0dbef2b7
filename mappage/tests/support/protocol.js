import assert from "node:assert/strict";

// The page checks each event before posting it and posts a "not posted" log instead of one the
// application would drop for a missing or malformed field; no test may see such a log.
export function assertWellFormed(events) {
  const refused = events.filter((e) => e.event === "log" && e.message.startsWith("not posted"));
  assert.deepEqual(refused, []);
}
