import { eventProblem } from "./events.js";

// The one way from the page to the application. In the application the page reaches a
// QWebChannel object named "zuvo" and calls its postMessage slot with each event object; a
// browser test installs `window.zuvoHost` with a postMessage function before the page loads.
// Events posted before the channel is up wait in order.

const WEB_CHANNEL_SCRIPT = "qrc:///qtwebchannel/qwebchannel.js";

let deliver = null;
const waiting = [];

function loadScript(url) {
  return new Promise((resolve, reject) => {
    const script = document.createElement("script");
    script.src = url;
    script.onload = resolve;
    script.onerror = () => reject(new Error(`cannot load ${url}`));
    document.head.append(script);
  });
}

async function connectWebChannel() {
  await loadScript(WEB_CHANNEL_SCRIPT);
  return new Promise((resolve) => {
    new window.QWebChannel(window.qt.webChannelTransport, (channel) => {
      const zuvo = channel.objects.zuvo;
      resolve((event) => zuvo.postMessage(event));
    });
  });
}

export async function connectHost() {
  if (window.zuvoHost) {
    deliver = (event) => window.zuvoHost.postMessage(event);
  } else if (window.qt?.webChannelTransport) {
    deliver = await connectWebChannel();
  } else {
    deliver = (event) => console.info("zuvo event", event);
  }
  waiting.splice(0).forEach(deliver);
}

export function post(event) {
  const problem = eventProblem(event);
  const checked = problem ? { event: "log", message: `not posted: ${problem}` } : event;
  if (deliver) {
    deliver(checked);
  } else {
    waiting.push(checked);
  }
}

export function log(message) {
  post({ event: "log", message: String(message) });
}
