import { load } from "./loader.js";
import { usePmtiles } from "./pmtilesSetup.js";

// The style file named in the query, with the elevation source pointed at the terrain archive
// the application names and every .pmtiles source routed through the PMTiles protocol.
export async function loadStyle(query, pmtilesProtocol) {
  const style = await load(new URL(query.style, window.location.href).href, "json");
  const dem = style.sources["zuvo-dem"];
  if (dem && query.terrain) {
    dem.url = query.terrain;
    dem.encoding = query.terrainEncoding;
  }
  return usePmtiles(style, pmtilesProtocol);
}
