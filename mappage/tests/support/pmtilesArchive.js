import { PbfWriter } from "pbf";
import { zxyToTileId } from "pmtiles";

// Builds small PMTiles (version 3) archives of Mapbox vector tiles holding points, so that a
// test can serve the page a basemap whose content it knows.

const EXTENT = 4096;

function tileXY(lng, lat, z) {
  const n = 2 ** z;
  const sin = Math.sin((lat * Math.PI) / 180);
  return [((lng + 180) / 360) * n, (0.5 - Math.log((1 + sin) / (1 - sin)) / (4 * Math.PI)) * n];
}

export function tileOf(lng, lat, z) {
  return tileXY(lng, lat, z).map(Math.floor);
}

const zigzag = (n) => (n << 1) ^ (n >> 31);

// One tile with one layer of point features {id, lng, lat, properties}.
export function pointTile({ layer, z, x, y, points }) {
  const keys = [];
  const values = [];
  const index = (list, item) => {
    if (!list.includes(item)) list.push(item);
    return list.indexOf(item);
  };
  const pbf = new PbfWriter();
  pbf.writeMessage(3, (_, out) => {
    out.writeVarintField(15, 2);
    out.writeStringField(1, layer);
    for (const point of points) {
      const [px, py] = tileXY(point.lng, point.lat, z);
      const geometry = [
        9,
        zigzag(Math.round((px - x) * EXTENT)),
        zigzag(Math.round((py - y) * EXTENT)),
      ];
      const tags = Object.entries(point.properties).flatMap(([k, v]) => [
        index(keys, k),
        index(values, v),
      ]);
      out.writeMessage(2, (__, feature) => {
        feature.writeVarintField(1, point.id);
        feature.writePackedVarint(2, tags);
        feature.writeVarintField(3, 1);
        feature.writePackedVarint(4, geometry);
      });
    }
    keys.forEach((key) => out.writeStringField(3, key));
    values.forEach((value) => out.writeMessage(4, (__, v) => v.writeStringField(1, String(value))));
    out.writeVarintField(5, EXTENT);
  });
  return Buffer.from(pbf.finish());
}

function varints(numbers) {
  const bytes = [];
  for (let n of numbers) {
    while (n >= 0x80) {
      bytes.push((n % 0x80) | 0x80);
      n = Math.floor(n / 0x80);
    }
    bytes.push(n);
  }
  return Buffer.from(bytes);
}

// `tiles` is a list of {z, x, y, data}; all share one zoom range and are stored uncompressed.
export function pmtilesArchive(tiles, { minZoom = 0, maxZoom }) {
  const entries = tiles
    .map((tile) => ({ ...tile, id: zxyToTileId(tile.z, tile.x, tile.y) }))
    .sort((a, b) => a.id - b.id);
  let offset = 0;
  for (const entry of entries) {
    entry.offset = offset;
    offset += entry.data.length;
  }
  const directory = varints([
    entries.length,
    ...entries.map((e, i) => e.id - (i ? entries[i - 1].id : 0)),
    ...entries.map(() => 1),
    ...entries.map((e) => e.data.length),
    ...entries.map((e, i) => (i ? 0 : e.offset + 1)),
  ]);
  const metadata = Buffer.from(JSON.stringify({ vector_layers: [] }));
  const header = Buffer.alloc(127);
  header.write("PMTiles", 0, "latin1");
  header.writeUInt8(3, 7);
  const u64 = (at, value) => header.writeBigUInt64LE(BigInt(value), at);
  u64(8, 127);
  u64(16, directory.length);
  u64(24, 127 + directory.length);
  u64(32, metadata.length);
  u64(40, 0);
  u64(48, 0);
  u64(56, 127 + directory.length + metadata.length);
  u64(64, offset);
  u64(72, entries.length);
  u64(80, entries.length);
  u64(88, entries.length);
  header.writeUInt8(1, 96); // clustered
  header.writeUInt8(1, 97); // directories uncompressed
  header.writeUInt8(1, 98); // tiles uncompressed
  header.writeUInt8(1, 99); // Mapbox vector tiles
  header.writeUInt8(minZoom, 100);
  header.writeUInt8(maxZoom, 101);
  header.writeInt32LE(-1800000000, 102);
  header.writeInt32LE(-850000000, 106);
  header.writeInt32LE(1800000000, 110);
  header.writeInt32LE(850000000, 114);
  return Buffer.concat([header, directory, metadata, ...entries.map((e) => e.data)]);
}
