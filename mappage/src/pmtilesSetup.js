import { loadRange, isPrivateScheme } from "./loader.js";

// PMTiles archives become MapLibre sources through the "pmtiles://" protocol. Archives under the
// private scheme are read with ranged XMLHttpRequests, all others with the library's own fetch.
// Each archive is one instance, which the page's own readers share with the map.

const { PMTiles, Protocol } = window.pmtiles;

class PrivateSchemeSource {
  constructor(url) {
    this.url = url;
  }

  getKey() {
    return this.url;
  }

  getBytes(offset, length, signal) {
    return loadRange(this.url, offset, length, signal);
  }
}

export function createPmtilesProtocol() {
  return new Protocol({ metadata: true });
}

// Rewrites the style's sources that name a .pmtiles file to use the protocol.
export function usePmtiles(style, protocol) {
  for (const source of Object.values(style.sources)) {
    if (typeof source.url !== "string" || !/\.pmtiles(\?|$)/.test(source.url)) continue;
    const url = new URL(source.url, window.location.href).href;
    protocol.add(new PMTiles(isPrivateScheme(url) ? new PrivateSchemeSource(url) : url));
    source.url = `pmtiles://${url}`;
  }
  return style;
}

// The archive of a style source that usePmtiles routed through the protocol, or null.
export function archiveOf(style, sourceId, protocol) {
  const url = style.sources[sourceId]?.url;
  if (typeof url !== "string" || !url.startsWith("pmtiles://")) return null;
  return protocol.get(url.slice("pmtiles://".length)) ?? null;
}
