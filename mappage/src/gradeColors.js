// Colours of the route by grade in percent: blues downhill, green on the flat, then yellow,
// orange, red and purple as the climb steepens.
const STEPS = [
  [-12, "#1F4E9E"],
  [-8, "#3A7BD5"],
  [-4, "#74B3E8"],
  [-1, "#6CC070"],
  [1, "#4CAF50"],
  [4, "#C9D845"],
  [7, "#F4B400"],
  [10, "#F0701C"],
  [14, "#D7263D"],
  [Infinity, "#7B1E7A"],
];

export function gradeColor(grade) {
  return STEPS.find(([limit]) => grade < limit)[1];
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
