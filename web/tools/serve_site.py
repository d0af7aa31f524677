#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Serves the site on this machine only, with the types a browser wants for
# a module, a worker and a manifest.
# Usage: serve_site.py SITE_DIR [PORT]
import functools
import http.server
import sys
import threading


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.mjs': 'text/javascript', '.js': 'text/javascript',
                      '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml'}


class Quiet(Handler):
    def log_message(self, *args):
        pass


def serve(site, port=0, quiet=True, background=True):
    """A server of `site` on 127.0.0.1; `port` 0 takes a free one."""
    handler = functools.partial(Quiet if quiet else Handler, directory=str(site))
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
