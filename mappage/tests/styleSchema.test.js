import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import { test } from "node:test";
import { layers, namedFlavor } from "@protomaps/basemaps";
import { POI_GLYPHS } from "../src/poiGlyphs.js";
import { BASEMAP_SCHEMA, SCHEMA_SOURCE } from "./support/basemapSchema.js";

// The page's style and POI categories against the kinds real Protomaps basemaps carry, and that
// list against the official style package it was taken from.

const KEYS = ["kind", "kind_detail"];
const COMPARISONS = ["==", "!=", "in", "!in"];

const keyOf = (operand) => {
  const name = Array.isArray(operand) && operand[0] === "get" ? operand[1] : operand;
  return KEYS.includes(name) ? name : null;
};
const literals = (operand) =>
  Array.isArray(operand) && operand[0] === "literal" ? operand[1] : [operand];

// Every string a layer's expressions (legacy or current syntax) compare "kind" or "kind_detail"
// with, as [key, value] pairs.
function comparedValues(expression, found = []) {
  if (!Array.isArray(expression)) return found;
  const [operator, subject, ...operands] = expression;
  const key = keyOf(subject);
  if (key && COMPARISONS.includes(operator)) {
    operands.flatMap(literals).forEach((value) => found.push([key, value]));
  } else if (key && operator === "match") {
    operands
      .slice(0, -1)
      .filter((_, i) => i % 2 === 0)
      .flat()
      .forEach((v) => found.push([key, v]));
  }
  expression.forEach((part) => comparedValues(part, found));
  return found.filter(([, value]) => typeof value === "string");
}

// Each source layer's compared values that the schema list lacks.
function unknownValues(styleLayers, source) {
  const unknown = [];
  for (const layer of styleLayers.filter((l) => l.source === source)) {
    const sourceLayer = layer["source-layer"];
    const expressions = [layer.filter, ...Object.values({ ...layer.paint, ...layer.layout })];
    for (const [key, value] of expressions.flatMap((e) => comparedValues(e))) {
      if (!BASEMAP_SCHEMA[sourceLayer]?.[key]?.includes(value)) {
        unknown.push(`${layer.id}: ${sourceLayer} ${key} "${value}"`);
      }
    }
  }
  return unknown;
}

test("the page's style filters only on layers and kinds that real basemaps carry", async () => {
  const style = JSON.parse(await readFile(new URL("../style.json", import.meta.url), "utf8"));
  const basemapLayers = style.layers.filter((layer) => layer.source === "protomaps");
  assert.deepEqual(
    basemapLayers.filter((layer) => !BASEMAP_SCHEMA[layer["source-layer"]]).map((l) => l.id),
    [],
  );
  assert.deepEqual(unknownValues(style.layers, "protomaps"), []);
});

test("the basemap categories the page shows are POI kinds of real basemaps", () => {
  const categories = Object.keys(POI_GLYPHS).filter((c) => !["favorite", "search"].includes(c));
  assert.ok(categories.length >= 5);
  assert.deepEqual(
    categories.filter((category) => !BASEMAP_SCHEMA.pois.kind.includes(category)),
    [],
  );
});

test("the schema list holds every kind the official style package filters on", () => {
  const installed = createRequire(import.meta.url)("@protomaps/basemaps/package.json").version;
  assert.equal(installed, SCHEMA_SOURCE.version, "the list names the package version it is from");
  const official = layers("protomaps", namedFlavor("light"), { lang: "en" }).filter(
    (layer) => layer["source-layer"] in BASEMAP_SCHEMA,
  );
  assert.ok(official.length > 50, `${official.length} official layers`);
  assert.deepEqual(unknownValues(official, "protomaps"), []);
});
