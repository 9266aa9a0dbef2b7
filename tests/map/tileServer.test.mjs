import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { chmod, mkdir, mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";

// Runs the tile server's nginx configuration on a free loopback port, as a foreground process
// with its own prefix, and reads a PMTiles file the way the map page does.

const CONFIG = process.env.TILE_SERVER_CONFIG;
const NGINX = process.env.NGINX ?? "nginx";
const ORIGIN = "zuvomap://map";
const archive = Buffer.from(Array.from({ length: 1000 }, (_, i) => (i * 7) % 256));

let prefix;
let nginx;
let base;

function freePort() {
  return new Promise((resolve) => {
    const probe = createServer().listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

function replaced(text, from, to) {
  assert.ok(text.includes(from), `the configuration no longer has "${from}"`);
  return text.replace(from, to);
}

async function waitForServer() {
  for (let attempt = 0; attempt < 100; attempt++) {
    try {
      return await fetch(`${base}/`);
    } catch {
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
  }
  throw new Error("nginx did not start");
}

before(async () => {
  prefix = await mkdtemp(path.join(tmpdir(), "zuvo-tiles-"));
  await chmod(prefix, 0o755);
  await mkdir(path.join(prefix, "root/pmtiles"), { recursive: true });
  await writeFile(path.join(prefix, "root/pmtiles/basemap.pmtiles"), archive);
  await writeFile(path.join(prefix, "root/notes.txt"), "not for the map");
  const port = await freePort();
  base = `http://127.0.0.1:${port}`;

  let server = await readFile(CONFIG, "utf8");
  server = replaced(server, "listen 8080;", `listen 127.0.0.1:${port};`);
  server = replaced(server, "listen [::]:8080;", "");
  server = replaced(server, "root /srv/tramu-tiles;", `root ${prefix}/root;`);
  await writeFile(path.join(prefix, "server.conf"), server);
  const temp = (name) => `${name}_temp_path ${prefix}/${name};`;
  await writeFile(
    path.join(prefix, "nginx.conf"),
    [
      "daemon off;",
      "master_process off;",
      `pid ${prefix}/nginx.pid;`,
      `error_log ${prefix}/error.log;`,
      "events {}",
      "http {",
      "access_log off;",
      ...["client_body", "proxy", "fastcgi", "uwsgi", "scgi"].map(temp),
      `include ${prefix}/server.conf;`,
      "}",
    ].join("\n"),
  );
  nginx = spawn(NGINX, ["-p", prefix, "-e", `${prefix}/error.log`, "-c", `${prefix}/nginx.conf`], {
    stdio: "inherit",
  });
  await waitForServer();
});

after(async () => {
  nginx?.kill("SIGTERM");
  await rm(prefix, { recursive: true, force: true });
});

test("a ranged request from the page's origin gets 206 with the CORS headers it needs", async () => {
  const response = await fetch(`${base}/pmtiles/basemap.pmtiles`, {
    headers: { Range: "bytes=100-199", Origin: ORIGIN },
  });
  assert.equal(response.status, 206);
  assert.equal(response.headers.get("content-range"), "bytes 100-199/1000");
  assert.deepEqual(Buffer.from(await response.arrayBuffer()), archive.subarray(100, 200));
  assert.equal(response.headers.get("access-control-allow-origin"), "*");
  const exposed = response.headers.get("access-control-expose-headers").toLowerCase();
  for (const header of ["content-range", "etag"]) assert.ok(exposed.includes(header), exposed);
  assert.ok(response.headers.get("etag"));
});

test("the preflight before a ranged request allows the Range header", async () => {
  const response = await fetch(`${base}/pmtiles/basemap.pmtiles`, {
    method: "OPTIONS",
    headers: {
      Origin: ORIGIN,
      "Access-Control-Request-Method": "GET",
      "Access-Control-Request-Headers": "range",
    },
  });
  assert.equal(response.status, 204);
  assert.equal(response.headers.get("access-control-allow-origin"), "*");
  assert.match(response.headers.get("access-control-allow-headers"), /\bRange\b/);
});

test("only the tile folders are served", async () => {
  assert.equal((await fetch(`${base}/notes.txt`)).status, 404);
  assert.equal((await fetch(`${base}/pmtiles/missing.pmtiles`)).status, 404);
});
