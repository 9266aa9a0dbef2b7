// The page's query items as the application builds its start URL.
export function readQuery(search) {
  const items = new URLSearchParams(search);
  return {
    style: items.get("style") || "style.json",
    terrain: items.get("terrain") || null,
    terrainEncoding: items.get("terrainEncoding") || "terrarium",
    customGlyph: items.get("customGlyph") || "🍺",
  };
}
