// Decodes a FIT file with Garmin's own decoder and prints what it found as
// one JSON object: whether it is FIT, whether its CRCs hold, the decoder's
// errors, and the messages by name with raw numbers (times in FIT seconds,
// enums as Garmin's names). Usage: node decode.mjs FILE
import { readFileSync } from "node:fs";
import { Decoder, Stream } from "@garmin/fitsdk";

const bytes = readFileSync(process.argv[2]);
const decoder = new Decoder(Stream.fromByteArray(Array.from(bytes)));
const isFIT = decoder.isFIT();
const integrity = isFIT && decoder.checkIntegrity();
const { messages, errors } = decoder.read({ convertDateTimesToDates: false });
console.log(
  JSON.stringify(
    { isFIT, integrity, errors: errors.map(String), messages },
    (key, value) => (typeof value === "bigint" ? Number(value) : value),
  ),
);
