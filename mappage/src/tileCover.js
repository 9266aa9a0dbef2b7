// Which tiles of the Web Mercator grid a box needs, for reading an archive tile by tile.

const MAX_LATITUDE = 85.0511287798066;

// The fractional tile coordinates of a position at zoom z.
function tilePoint(lng, lat, z) {
  const n = 2 ** z;
  const clamped = Math.max(-MAX_LATITUDE, Math.min(MAX_LATITUDE, lat));
  const sin = Math.sin((clamped * Math.PI) / 180);
  const x = ((Math.max(-180, Math.min(180, lng)) + 180) / 360) * n;
  const y = (0.5 - Math.log((1 + sin) / (1 - sin)) / (4 * Math.PI)) * n;
  return [x, y];
}

// The tiles of zoom z that cover the box [west, south, east, north], nearest to the box's centre
// first, at most `limit` of them. A box over a whole continent has millions of tiles at a high
// zoom, so the search grows in rings around the centre tile instead of listing the box.
export function tilesCovering([west, south, east, north], z, limit) {
  const last = 2 ** z - 1;
  const tile = (value) => Math.max(0, Math.min(last, Math.floor(value)));
  const [left, top] = tilePoint(west, north, z);
  const [right, bottom] = tilePoint(east, south, z);
  const [x0, x1, y0, y1] = [tile(left), tile(right), tile(top), tile(bottom)];
  const [cx, cy] = [(left + right) / 2, (top + bottom) / 2];
  const [centreX, centreY] = [tile(cx), tile(cy)];

  const found = [];
  const add = (x, y) => {
    if (x >= x0 && x <= x1 && y >= y0 && y <= y1) {
      found.push({ z, x, y, distance: Math.hypot(x + 0.5 - cx, y + 0.5 - cy) });
    }
  };
  const byDistance = (a, b) => a.distance - b.distance;
  const rings = Math.max(centreX - x0, x1 - centreX, centreY - y0, y1 - centreY);
  for (let r = 0; r <= rings; r++) {
    // Every tile of ring r lies at least r - 0.5 tiles from the centre.
    if (found.length >= limit && found.sort(byDistance)[limit - 1].distance <= r - 0.5) break;
    if (r === 0) add(centreX, centreY);
    else {
      for (let i = -r; i <= r; i++) {
        add(centreX + i, centreY - r);
        add(centreX + i, centreY + r);
      }
      for (let i = 1 - r; i < r; i++) {
        add(centreX - r, centreY + i);
        add(centreX + r, centreY + i);
      }
    }
  }
  return found
    .sort(byDistance)
    .slice(0, limit)
    .map(({ x, y }) => ({ z, x, y }));
}
