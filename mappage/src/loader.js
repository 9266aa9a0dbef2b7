// Loads files by URL. The application serves the page under its private scheme, where the web
// engine offers XMLHttpRequest but no fetch(); over http the page uses fetch().

export const PRIVATE_SCHEME = "zuvomap";

export function isPrivateScheme(url) {
  return new URL(url, window.location.href).protocol === `${PRIVATE_SCHEME}:`;
}

function xhr(url, { responseType, headers = {}, signal }) {
  return new Promise((resolve, reject) => {
    const request = new XMLHttpRequest();
    request.open("GET", url);
    request.responseType = responseType;
    for (const [name, value] of Object.entries(headers)) request.setRequestHeader(name, value);
    request.onload = () => {
      // A private-scheme answer may carry status 0 when it succeeded.
      if (request.status === 0 || (request.status >= 200 && request.status < 300)) {
        resolve({ data: request.response, status: request.status, request });
      } else {
        reject(new Error(`${url}: HTTP ${request.status}`));
      }
    };
    request.onerror = () => reject(new Error(`${url}: cannot be loaded`));
    request.onabort = () => reject(new DOMException("aborted", "AbortError"));
    signal?.addEventListener("abort", () => request.abort());
    request.send();
  });
}

const XHR_TYPES = { json: "json", string: "text", arrayBuffer: "arraybuffer" };

// `type` is "json", "string" or "arrayBuffer".
export async function load(url, type, signal) {
  if (isPrivateScheme(url)) {
    const { data } = await xhr(url, { responseType: XHR_TYPES[type] ?? "arraybuffer", signal });
    if (data === null) throw new Error(`${url}: not ${type}`);
    return data;
  }
  const response = await fetch(url, { signal });
  if (!response.ok) throw new Error(`${url}: HTTP ${response.status}`);
  if (type === "json") return response.json();
  if (type === "string") return response.text();
  return response.arrayBuffer();
}

// Reads a byte range; used for PMTiles archives served under the private scheme.
export async function loadRange(url, offset, length, signal) {
  const { data, request } = await xhr(url, {
    responseType: "arraybuffer",
    headers: { Range: `bytes=${offset}-${offset + length - 1}` },
    signal,
  });
  // A server that ignores the range answers the whole file.
  const bytes = request.status === 206 ? data : data.slice(offset, offset + length);
  return { data: bytes, etag: request.getResponseHeader("ETag") ?? undefined };
}

// MapLibre's loader for URLs of the private scheme (style parts, sprites, data files).
export function privateSchemeProtocol(params, abortController) {
  return load(params.url, params.type, abortController.signal).then((data) => ({ data }));
}
