import { load } from "./loader.js";

const SOURCE = "zuvo-world";
const COUNTRIES = "lib/countries-110m.json";

// Country shapes from Natural Earth (1:110m) drawn under the basemap, so that the page shows the
// world even when the tile server cannot be reached.
export async function addWorldBackground(map, beforeLayer) {
  const topology = await load(new URL(COUNTRIES, window.location.href).href, "json");
  const countries = window.topojson.feature(topology, topology.objects.countries);
  const borders = window.topojson.mesh(topology, topology.objects.countries, (a, b) => a !== b);
  map.addSource(SOURCE, { type: "geojson", data: countries });
  map.addSource(`${SOURCE}-borders`, { type: "geojson", data: borders });
  map.addLayer(
    { id: "zuvo-world-land", type: "fill", source: SOURCE, paint: { "fill-color": "#F3F1EC" } },
    beforeLayer,
  );
  map.addLayer(
    {
      id: "zuvo-world-borders",
      type: "line",
      source: `${SOURCE}-borders`,
      paint: { "line-color": "#B9B0C4", "line-width": 0.8 },
    },
    beforeLayer,
  );
}
