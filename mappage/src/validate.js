// Checks for the payloads the application sends. Every check throws a PayloadError naming the
// field, so that the receiver can report a malformed command instead of drawing garbage.

export class PayloadError extends Error {}

export function isFiniteNumber(value) {
  return typeof value === "number" && Number.isFinite(value);
}

export function requireObject(value, what) {
  if (value === null || typeof value !== "object" || Array.isArray(value)) {
    throw new PayloadError(`${what} must be an object`);
  }
  return value;
}

export function requireNumber(object, key) {
  if (!isFiniteNumber(object[key])) {
    throw new PayloadError(`"${key}" must be a number`);
  }
  return object[key];
}

export function requireBoolean(object, key) {
  if (typeof object[key] !== "boolean") {
    throw new PayloadError(`"${key}" must be a boolean`);
  }
  return object[key];
}

export function requireString(object, key) {
  if (typeof object[key] !== "string") {
    throw new PayloadError(`"${key}" must be a string`);
  }
  return object[key];
}

export function isHexColor(value) {
  return typeof value === "string" && /^#[0-9a-fA-F]{6}$/.test(value);
}

export function requireArray(object, key) {
  if (!Array.isArray(object[key])) {
    throw new PayloadError(`"${key}" must be a list`);
  }
  return object[key];
}

export function isPosition(value) {
  return (
    Array.isArray(value) &&
    value.length >= 2 &&
    isFiniteNumber(value[0]) &&
    isFiniteNumber(value[1]) &&
    Math.abs(value[1]) <= 90
  );
}

// A [longitude, latitude] pair given as "lng" and "lat" fields of an object.
export function requireLngLat(object) {
  const position = [requireNumber(object, "lng"), requireNumber(object, "lat")];
  if (!isPosition(position)) {
    throw new PayloadError(`latitude ${position[1]} is out of range`);
  }
  return position;
}

// A list of [longitude, latitude] pairs.
export function requirePositions(object, key) {
  const list = requireArray(object, key);
  const bad = list.findIndex((position) => !isPosition(position));
  if (bad >= 0) {
    throw new PayloadError(`"${key}" item ${bad} is not a [longitude, latitude] pair`);
  }
  return list.map(([lng, lat]) => [lng, lat]);
}

// A box [west, south, east, north] in degrees.
export function requireBox(object, key) {
  const box = requireArray(object, key);
  if (box.length !== 4 || !box.every(isFiniteNumber) || box[1] > box[3] || box[0] > box[2]) {
    throw new PayloadError(`"${key}" must be [west, south, east, north]`);
  }
  if (Math.abs(box[1]) > 90 || Math.abs(box[3]) > 90) {
    throw new PayloadError(`"${key}" latitudes are out of range`);
  }
  return box;
}
