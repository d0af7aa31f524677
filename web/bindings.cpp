// SPDX-License-Identifier: MIT
// What the page's module calls: the document rules, the cipher commands
// and zkt, by the names solvena.mjs wraps.
#include <emscripten/bind.h>

#include "web/cipher_calls.h"
#include "web/document_calls.h"
#include "web/file_type_calls.h"
#include "web/stream_calls.h"
#include "web/zkt_run.h"

EMSCRIPTEN_BINDINGS(solvena) {
    using namespace solvena::web;
    emscripten::function("openDocument", &OpenDocument);
    emscripten::function("saveDocument", &SaveDocument);
    emscripten::function("lookAlikes", &LookAlikes);
    emscripten::function("passEntry", &PassEntry);
    emscripten::function("openChoices", &OpenChoices);
    emscripten::function("saveChoices", &SaveChoices);
    emscripten::function("words", &Words);
    emscripten::function("fileTypeOf", &FileTypeOf);
    emscripten::function("nameAs", &NameAs);
    emscripten::function("savedName", &SavedName);
    emscripten::function("encipher", &Encipher);
    emscripten::function("decipher", &Decipher);
    emscripten::function("encipherFile", &EncipherFile);
    emscripten::function("decipherFile", &DecipherFile);
    emscripten::function("rankPassNumbers", &RankPassNumbers);
    emscripten::function("openStream", &OpenStream);
    emscripten::function("encipherStream", &EncipherStream);
    emscripten::function("decipherStream", &DecipherStream);
    emscripten::function("saveStream", &SaveStream);
    emscripten::function("runZkt", &RunZkt);
}
