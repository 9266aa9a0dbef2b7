import { PayloadError } from "./validate.js";

// Builds window.zuvo.receive: looks up the command's handler and runs it. Nothing the
// application sends escapes as an exception; a malformed or unknown command is reported through
// the "log" event and otherwise ignored.
export function createReceiver(handlers, log) {
  const report = (command, error) => {
    const reason = error instanceof PayloadError ? error.message : `failed: ${error}`;
    log(`${command}: ${reason}`);
  };

  return function receive(message) {
    if (message === null || typeof message !== "object" || typeof message.command !== "string") {
      log('a command must be an object with a "command" text');
      return;
    }
    const { command, payload } = message;
    const handler = Object.hasOwn(handlers, command) ? handlers[command] : null;
    if (!handler) {
      log(`unknown command "${command}"`);
      return;
    }
    if (payload === null || typeof payload !== "object" || Array.isArray(payload)) {
      log(`${command}: the payload must be an object`);
      return;
    }
    try {
      const result = handler(payload);
      if (result instanceof Promise) result.catch((error) => report(command, error));
    } catch (error) {
      report(command, error);
    }
  };
}
