// Symbols of the POI categories. "favorite", "search" and "custom" (which uses the glyph the user
// picked) are the application's own; every other category is a POI kind of the basemap.
export const POI_GLYPHS = {
  favorite: "★",
  drinking_water: "🚰",
  cafe: "☕",
  bakery: "🥐",
  bicycle: "🚲",
  supermarket: "🛒",
  search: "📍",
};
export const FALLBACK_GLYPH = "•";
