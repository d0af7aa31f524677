#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Serves the site on this machine only, with the types a browser wants for
# a module, a worker and a manifest, and the headers of the site's _headers
# (its content security policy, which reaches the worker as no <meta> can).
# Usage: serve_site.py SITE_DIR [PORT]
import functools
import http.server
import pathlib
import sys
import threading


def site_headers(site):
    """The headers _headers gives each path: a path, then its "  Name: value"
    lines."""
    path = pathlib.Path(site) / '_headers'
    headers = {}
    if path.exists():
        for line in path.read_text().splitlines():
            if line.startswith(' ') and ':' in line:
                headers[current].append(tuple(part.strip() for part in line.split(':', 1)))
            elif line.strip():
                current = line.strip()
                headers[current] = []
    return headers


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.mjs': 'text/javascript', '.js': 'text/javascript',
                      '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml'}
    headers_sent = {}

    def end_headers(self):
        for name, value in self.headers_sent.get(self.path.split('?')[0], []):
            self.send_header(name, value)
        super().end_headers()


class Quiet(Handler):
    def log_message(self, *args):
        pass


def serve(site, port=0, quiet=True, background=True):
    """A server of `site` on 127.0.0.1; `port` 0 takes a free one."""
    base = Quiet if quiet else Handler
    handler = functools.partial(type('SiteHandler', (base,), {'headers_sent': site_headers(site)}),
                                directory=str(site))
    server = http.server.ThreadingHTTPServer(('127.0.0.1', port), handler)
    if background:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


if __name__ == '__main__':
    if len(sys.argv) not in (2, 3):
        sys.exit('usage: serve_site.py SITE_DIR [PORT]')
    server = serve(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 8000, quiet=False, background=False)
    print(f'ソルベナ: http://127.0.0.1:{server.server_port}/ (Ctrl+C ends)', flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
