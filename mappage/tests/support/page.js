import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { chromium } from "playwright-core";

// Opens the map page in Debian's headless Chromium with a stand-in for the application: it
// records every event the page posts, and sends commands the way the application does.

const CHROMIUM = process.env.CHROMIUM ?? "/usr/bin/chromium";
const ARGS = [
  "--no-sandbox",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
  "--enable-unsafe-swiftshader",
];

export const MAP_FOLDER = process.env.ZUVO_MAP_DIR ?? path.resolve("../build/share/tramu/Map");

export async function openMapPage(
  server,
  { query = "", viewport = { width: 1000, height: 700 } } = {},
) {
  const profile = await mkdtemp(path.join(tmpdir(), "zuvo-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: ARGS,
    viewport,
  });
  await context.addInitScript(() => {
    window.zuvoTestEvents = [];
    window.zuvoHost = {
      postMessage: (event) => window.zuvoTestEvents.push(JSON.parse(JSON.stringify(event))),
    };
  });
  const page = context.pages()[0] ?? (await context.newPage());
  const errors = [];
  page.on("pageerror", (error) => errors.push(error));
  await page.goto(`${server.origin}/map.html${query}`);
  await page.waitForFunction(
    () => window.zuvoTestEvents.some((event) => event.event === "ready"),
    null,
    {
      timeout: 30000,
    },
  );

  const events = () => page.evaluate(() => window.zuvoTestEvents);
  return {
    page,
    errors,
    events,
    // Events of one kind posted from now on.
    async mark() {
      const start = (await events()).length;
      return async (name) =>
        (await events()).slice(start).filter((event) => !name || event.event === name);
    },
    send: (command, payload) =>
      page.evaluate(
        (json) => window.zuvo && window.zuvo.receive(JSON.parse(json)),
        JSON.stringify({ command, payload }),
      ),
    waitForEvent: (name, after = 0) =>
      page.waitForFunction(
        ([wanted, from]) =>
          window.zuvoTestEvents.slice(from).find((event) => event.event === wanted),
        [name, after],
      ),
    // Runs `fn(map, arg)` in the page, where `map` is the page's MapLibre map.
    inMap: (fn, arg) =>
      page.evaluate(
        ([source, value]) =>
          new Function("map", "arg", `return (${source})(map, arg)`)(window.zuvo.map, value),
        [fn.toString(), arg],
      ),
    idle: () =>
      page.evaluate(
        () =>
          new Promise((resolve) =>
            window.zuvo.map.loaded() ? resolve() : window.zuvo.map.once("idle", resolve),
          ),
      ),
    async close() {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}
