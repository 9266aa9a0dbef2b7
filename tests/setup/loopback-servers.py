#!/usr/bin/env python3
"""Loopback servers for the routing-server set-up test.

files ROOT PORT_FILE LOG
    Serves ROOT on a free port (written to PORT_FILE), with byte ranges as Maven Central and
    Geofabrik answer them; logs every request as "GET /path range=..." to LOG.
graphhopper PORT LOG ASCEND [REFUSE_FIRST]
    Answers like a GraphHopper 11 server covering a small area: /health, /info, and POST
    /route with the given ascent (0 is a server whose elevation failed), refusing the first
    REFUSE_FIRST routes as GraphHopper refuses a point it cannot snap. Logs route bodies to LOG.
"""
import json
import os
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

BBOX = [11.0, 48.0, 12.0, 49.0]  # minLon, minLat, maxLon, maxLat


def append(log, line):
    with open(log, "a", encoding="utf-8") as f:
        f.write(line + "\n")


class Files(BaseHTTPRequestHandler):
    root = ""
    log = ""

    def log_message(self, *args):
        pass

    def do_GET(self):
        rng = self.headers.get("Range", "")
        append(self.log, f"GET {self.path} range={rng}")
        path = os.path.join(self.root, self.path.lstrip("/"))
        if ".." in self.path or not os.path.isfile(path):
            self.send_error(404)
            return
        with open(path, "rb") as f:
            data = f.read()
        start = 0
        if rng.startswith("bytes=") and rng.endswith("-"):
            start = int(rng[len("bytes="):-1])
            if start >= len(data):
                self.send_response(416)
                self.send_header("Content-Range", f"bytes */{len(data)}")
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            self.send_response(206)
            self.send_header("Content-Range", f"bytes {start}-{len(data) - 1}/{len(data)}")
        else:
            self.send_response(200)
        self.send_header("Content-Length", str(len(data) - start))
        self.end_headers()
        self.wfile.write(data[start:])


class GraphHopper(BaseHTTPRequestHandler):
    log = ""
    ascend = 0.0
    refuse = 0

    def log_message(self, *args):
        pass

    def answer(self, status, body):
        data = body if isinstance(body, bytes) else json.dumps(body, separators=(",", ":")).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        if self.path == "/health":
            self.answer(200, b"OK")
        elif self.path == "/info":
            profiles = [{"name": n} for n in ("road_bike", "gravel_bike", "mtb", "motorcycle")]
            self.answer(200, {"build_date": "2025-06-01T00:00:00Z", "bbox": BBOX,
                              "version": "11.0", "elevation": True, "profiles": profiles,
                              "encoded_values": {}, "import_date": "2025-06-02T10:00:00Z",
                              "data_date": "2025-06-01T20:21:02Z"})
        else:
            self.answer(404, {"message": "not found"})

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        append(self.log, body.decode())
        request = json.loads(body)
        for i, (lon, lat) in enumerate(request["points"]):
            if not (BBOX[0] <= lon <= BBOX[2] and BBOX[1] <= lat <= BBOX[3]):
                self.answer(400, {"message": f"Point {i} is out of bounds: {lat},{lon}"})
                return
        if request.get("profile") != "road_bike":
            self.answer(400, {"message": "The requested profile does not exist"})
            return
        if GraphHopper.refuse > 0:
            GraphHopper.refuse -= 1
            self.answer(400, {"message": "Cannot find point 0"})
            return
        elevation = request.get("elevation") is True
        ele = 500.0 if self.ascend > 0 else 0.0
        coordinates = [[lon, lat, ele] if elevation else [lon, lat]
                       for lon, lat in request["points"]]
        self.answer(200, {"paths": [{"distance": 15234.5,
                                     "ascend": self.ascend if elevation else 0.0,
                                     "descend": 0.0, "points_encoded": False,
                                     "points": {"type": "LineString",
                                                "coordinates": coordinates}}]})


def main():
    if sys.argv[1] == "files":
        Files.root, port_file, Files.log = sys.argv[2:5]
        server = ThreadingHTTPServer(("127.0.0.1", 0), Files)
        with open(port_file + ".tmp", "w", encoding="utf-8") as f:
            f.write(str(server.server_address[1]))
        os.replace(port_file + ".tmp", port_file)
    else:
        port, GraphHopper.log, ascend = sys.argv[2:5]
        GraphHopper.ascend = float(ascend)
        GraphHopper.refuse = int(sys.argv[5]) if len(sys.argv) > 5 else 0
        server = ThreadingHTTPServer(("127.0.0.1", int(port)), GraphHopper)
    server.serve_forever()


if __name__ == "__main__":
    main()
