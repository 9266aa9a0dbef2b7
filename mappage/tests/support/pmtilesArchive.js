import { PbfWriter } from "pbf";
import { zxyToTileId } from "pmtiles";
import { checkSchema } from "./basemapSchema.js";

// Builds small PMTiles (version 3) archives of Mapbox vector tiles, so that a test can serve the
// page a basemap whose content it knows. Features use only kinds that real basemaps carry.

const EXTENT = 4096;

// The fractional tile coordinates of a position at zoom z.
export function tileXY(lng, lat, z) {
  const n = 2 ** z;
  const sin = Math.sin((lat * Math.PI) / 180);
  return [((lng + 180) / 360) * n, (0.5 - Math.log((1 + sin) / (1 - sin)) / (4 * Math.PI)) * n];
}

export function tileOf(lng, lat, z) {
  return tileXY(lng, lat, z).map(Math.floor);
}

const zigzag = (n) => (n << 1) ^ (n >> 31);

// The geometry commands of a point (one position) or a line (several).
function geometry(coordinates, { z, x, y }) {
  let [cx, cy] = [0, 0];
  const deltas = coordinates.flatMap(([lng, lat]) => {
    const [px, py] = tileXY(lng, lat, z).map((value, i) =>
      Math.round((value - [x, y][i]) * EXTENT),
    );
    const delta = [zigzag(px - cx), zigzag(py - cy)];
    [cx, cy] = [px, py];
    return delta;
  });
  if (coordinates.length === 1) return [9, ...deltas];
  return [9, deltas[0], deltas[1], ((coordinates.length - 1) << 3) | 2, ...deltas.slice(2)];
}

// One tile; `layers` maps a source layer's name to its features {id, coordinates, properties},
// where `coordinates` is a list of [lng, lat]: one for a point, more for a line.
export function vectorTile({ z, x, y, layers }) {
  const pbf = new PbfWriter();
  for (const [name, features] of Object.entries(layers)) {
    const keys = [];
    const values = [];
    const index = (list, item) => {
      if (!list.includes(item)) list.push(item);
      return list.indexOf(item);
    };
    pbf.writeMessage(3, (_, out) => {
      out.writeVarintField(15, 2);
      out.writeStringField(1, name);
      for (const feature of features) {
        checkSchema(name, feature.properties);
        const tags = Object.entries(feature.properties).flatMap(([k, v]) => [
          index(keys, k),
          index(values, v),
        ]);
        out.writeMessage(2, (__, message) => {
          message.writeVarintField(1, feature.id);
          message.writePackedVarint(2, tags);
          message.writeVarintField(3, feature.coordinates.length === 1 ? 1 : 2);
          message.writePackedVarint(4, geometry(feature.coordinates, { z, x, y }));
        });
      }
      keys.forEach((key) => out.writeStringField(3, key));
      values.forEach((value) =>
        out.writeMessage(4, (__, v) => v.writeStringField(1, String(value))),
      );
      out.writeVarintField(5, EXTENT);
    });
  }
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

// An archive holding `features` ({layer, id, coordinates, properties}) in their tiles at each of
// `zooms`; a feature goes into the tile of its first position.
export function basemapArchive(features, zooms) {
  const tiles = new Map();
  for (const z of zooms) {
    for (const { layer, ...feature } of features) {
      const [x, y] = tileOf(...feature.coordinates[0], z);
      const key = `${z}/${x}/${y}`;
      if (!tiles.has(key)) tiles.set(key, { z, x, y, layers: {} });
      (tiles.get(key).layers[layer] ??= []).push(feature);
    }
  }
  const built = [...tiles.values()].map((tile) => ({ ...tile, data: vectorTile(tile) }));
  return pmtilesArchive(built, { minZoom: Math.min(...zooms), maxZoom: Math.max(...zooms) });
}
