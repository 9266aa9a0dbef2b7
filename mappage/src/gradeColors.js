// Colours of the route by grade in percent, the same scale the elevation chart and the guide
// use: blues downhill, sand on the flat, then orange to dark red as the climb steepens, blended
// between the stops.
const STOPS = [
  [-15, [47, 111, 168]],
  [-8, [110, 156, 190]],
  [-3, [168, 185, 190]],
  [0, [201, 194, 180]],
  [3, [232, 180, 92]],
  [6, [240, 145, 47]],
  [9, [226, 102, 44]],
  [12, [195, 52, 31]],
  [16, [142, 26, 22]],
  [22, [92, 13, 13]],
];

const hex = (rgb) =>
  "#" + rgb.map((c) => Math.round(c).toString(16).padStart(2, "0").toUpperCase()).join("");

export function gradeColor(grade) {
  if (Number.isNaN(grade) || grade <= STOPS[0][0]) return hex(STOPS[0][1]);
  for (let i = 1; i < STOPS.length; i++) {
    const [upper, high] = STOPS[i];
    if (grade <= upper) {
      const [lower, low] = STOPS[i - 1];
      const t = (grade - lower) / (upper - lower);
      return hex(low.map((c, k) => c + t * (high[k] - c)));
    }
  }
  return hex(STOPS.at(-1)[1]);
}

// A line-gradient expression placing each grade at its progress fraction along the line. Grades
// whose progress does not advance past the one before are skipped, since the stops of an
// interpolation must rise strictly. Returns null when no sample is usable.
export function gradeGradient(grades, progress) {
  const stops = [];
  let last = -Infinity;
  for (let i = 0; i < Math.min(grades.length, progress.length); i++) {
    const at = Math.min(1, Math.max(0, progress[i]));
    if (at <= last) continue;
    stops.push(at, gradeColor(grades[i]));
    last = at;
  }
  if (stops.length === 0) return null;
  if (stops.length === 2)
    return ["interpolate", ["linear"], ["line-progress"], 0, stops[1], 1, stops[1]];
  return ["interpolate", ["linear"], ["line-progress"], ...stops];
}
