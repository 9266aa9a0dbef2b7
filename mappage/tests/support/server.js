import { createServer } from "node:http";
import { readFile, realpath, stat } from "node:fs/promises";
import path from "node:path";

// Serves the built Map folder over http on 127.0.0.1 the way the application serves it under its
// private scheme: the page for "/", content type by extension, "{{TILES}}" in style.json replaced
// by the tiles base. It also answers byte ranges, and any path registered with `files` (a map of
// URL path to bytes) is served from memory, as a stand-in tile server that counts the requests
// for each path in `requests`.

const TYPES = {
  html: "text/html",
  js: "application/javascript",
  css: "text/css",
  json: "application/json",
};

function contentType(file) {
  return TYPES[path.extname(file).slice(1).toLowerCase()] ?? "application/octet-stream";
}

async function readMapFile(root, urlPath) {
  const relative = decodeURIComponent(
    urlPath === "/" || urlPath === "" ? "/map.html" : urlPath,
  ).slice(1);
  const file = await realpath(path.join(root, relative)).catch(() => null);
  if (!file || !file.startsWith(root + path.sep) || !(await stat(file)).isFile()) return null;
  return file;
}

function send(response, request, status, type, body) {
  const headers = {
    "Content-Type": type,
    "Accept-Ranges": "bytes",
    "Access-Control-Allow-Origin": "*",
    "Access-Control-Expose-Headers": "Content-Range, Content-Length, ETag",
  };
  const range = /^bytes=(\d+)-(\d*)$/.exec(request.headers.range ?? "");
  if (range) {
    const start = Number(range[1]);
    const end = Math.min(range[2] ? Number(range[2]) : body.length - 1, body.length - 1);
    headers["Content-Range"] = `bytes ${start}-${end}/${body.length}`;
    response.writeHead(206, headers);
    response.end(body.subarray(start, end + 1));
    return;
  }
  response.writeHead(status, headers);
  response.end(body);
}

export async function startServer({ mapFolder, tilesBase = null, files = new Map() }) {
  const root = await realpath(mapFolder);
  const requests = new Map();
  const server = createServer(async (request, response) => {
    const url = new URL(request.url, "http://127.0.0.1");
    if (request.method === "OPTIONS") {
      response.writeHead(204, {
        "Access-Control-Allow-Origin": "*",
        "Access-Control-Allow-Headers": "Range, If-Match",
      });
      response.end();
      return;
    }
    if (files.has(url.pathname)) {
      requests.set(url.pathname, (requests.get(url.pathname) ?? 0) + 1);
      send(response, request, 200, "application/octet-stream", files.get(url.pathname));
      return;
    }
    const file = await readMapFile(root, url.pathname);
    if (!file) {
      response.writeHead(404).end();
      return;
    }
    let body = await readFile(file);
    if (path.basename(url.pathname) === "style.json") {
      body = Buffer.from(body.toString("utf8").replaceAll("{{TILES}}", base()));
    }
    send(response, request, 200, contentType(file), body);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  // Without a tile server of its own the page's tiles go to this server too.
  const base = () => tilesBase ?? origin;
  return { origin, files, requests, close: () => new Promise((resolve) => server.close(resolve)) };
}
