// SPDX-License-Identifier: MIT
// The functions of solvena.mjs, over the WebAssembly built from the same
// C++ as zkt and the desktop program. Texts are JavaScript strings, taken
// and given as their UTF-16 code units exactly (lone surrogates included);
// files are Uint8Arrays of their bytes.

const core = await SolvenaCore();

/** A failure of the document rules: `kind` ("invalidBytes",
 * "unrepresentable", ...), and where it lies. */
export class SolvenaError extends Error {
    constructor(details) {
        super(details.message);
        this.name = 'SolvenaError';
        Object.assign(this, details);
    }
}

function units(text) {
    const out = new Uint16Array(text.length);
    for (let i = 0; i < text.length; i++) {
        out[i] = text.charCodeAt(i);
    }
    return out;
}

const utf16 = new TextDecoder('utf-16le', { fatal: true });
const ascii = new TextDecoder('ascii');

// Code units (or ASCII bytes) to a string: by the browser's decoder, fast,
// unless the text holds a lone surrogate, which the decoder would replace.
function text(units) {
    if (units.length > 4096) {
        if (units instanceof Uint8Array) {
            return ascii.decode(units);
        }
        try {
            return utf16.decode(units);
        } catch {
            // a lone surrogate: unit by unit below
        }
    }
    let out = '';
    for (let i = 0; i < units.length; i += 8192) {
        out += String.fromCharCode.apply(null, units.subarray(i, i + 8192));
    }
    return out;
}

function bytes(data) {
    if (typeof data === 'string') {
        return new TextEncoder().encode(data);
    }
    if (data instanceof ArrayBuffer) {
        return new Uint8Array(data);
    }
    if (ArrayBuffer.isView(data)) {
        return new Uint8Array(data.buffer, data.byteOffset, data.byteLength);
    }
    throw new TypeError('expected bytes: a Uint8Array, an ArrayBuffer or a string');
}

function checked(result) {
    if (!result.ok) {
        throw new SolvenaError(result.error);
    }
    return result;
}

function passNumber(pass) {
    if (!Number.isInteger(pass) || pass < -32768 || pass > 32767) {
        throw new RangeError(`not a pass number: ${pass}`);
    }
    return pass;
}

/** The pass number an entry stands for by the pass-number dialog's rule (at
 * most four characters of a number), or null. -1 stands for no number. */
export function passEntry(entry) {
    return core.passEntry(units(String(entry)));
}

/** A document file's bytes to its text and format, by the reading rule:
 * encoding "auto" (a byte-order mark, else UTF-8 with a non-ASCII character,
 * else Shift_JIS), "cp932" or "utf-8"; lineEnd "auto", "crlf" or "lf". */
export function openText(data, { encoding = 'auto', lineEnd = 'auto' } = {}) {
    const opened = checked(core.openDocument(bytes(data), encoding, lineEnd));
    return {
        text: text(opened.units),
        format: {
            encoding: opened.encoding,
            lineEnd: opened.lineEnd,
            byteOrderMark: opened.byteOrderMark,
        },
    };
}

/** A text to the bytes of its file, by the writing rule: the text, then a
 * line end, in the format given (by default Shift_JIS with CR LF). Throws a
 * SolvenaError of kind "unrepresentable" for characters Shift_JIS lacks. */
export function saveText(value, { encoding = 'cp932', lineEnd = 'crlf', byteOrderMark = false } = {}) {
    return checked(core.saveDocument(units(value), encoding, lineEnd, byteOrderMark)).bytes;
}

// The module's look-alikes with their characters as strings.
function characters(found) {
    return found === null ? null : { ...found, first: String.fromCharCode(found.first), becomes: String.fromCharCode(found.becomes) };
}

/** Characters Shift_JIS stores as others (〜 comes back as ～): null, or how
 * many, the first and what it becomes, where it stands, and the question
 * the save dialog asks of them. */
export function lookAlikes(value) {
    return characters(core.lookAlikes(units(value)));
}

/** The choices to open a file with: [{label, encoding}], "auto" (detected)
 * first and the default. */
export function openChoices() {
    return core.openChoices();
}

/** The choices to save a document of `format` with: [{label, encoding,
 * lineEnd, byteOrderMark, chosen}], the document's own form chosen and
 * offered even when it is none of the usual ones. */
export function saveChoices({ encoding = 'cp932', lineEnd = 'crlf', byteOrderMark = false } = {}) {
    return core.saveChoices(encoding, lineEnd, byteOrderMark);
}

/** The texts the desktop program shows that a page shows too: {passPrompt,
 * passRejected, doubtfulResult, nameToSave, encipherToStoreAll, storeInUtf8,
 * outOfMemory}. A failure's own words are its `words`. */
export function words() {
    return core.words();
}

/** What a file name's ending says the file holds: "text", "enciphered",
 * "sealed", or null for a name the programs do not open. */
export function fileTypeOf(name) {
    return core.fileTypeOf(name);
}

/** The name of the same document as a file of `type` (memo.zkt as "text"
 * is memo.txt). */
export function nameAs(name, type) {
    return core.nameAs(name, type);
}

/** The name a save of `name` as a file of `type` gets: a name with a known
 * ending as it is, any other with the type's ending added. */
export function savedName(name, type) {
    return core.savedName(name, type);
}

/** The enciphered form of a text, end marker included. `onProgress(position,
 * length)` is called now and then on a long text. */
export function encipherText(value, pass, onProgress) {
    const ascii = core.encipher(units(value), passNumber(pass), onProgress);
    return text(ascii);
}

/** The deciphered text and how it looks: judgement "plausible",
 * "nothingEnciphered", "notEnciphered" (mostly not enciphered text),
 * "damaged" (enciphered text broken in places), "notText" or
 * "otherPassBetter" (a wrong pass number, most likely), by the rule zkt and
 * the window judge by, on the whole text; for a damaged text `damage`, the
 * first place that breaks the format: {kind, position (from 1), line,
 * column, severalLines, question (what the window asks of it)}, else null. */
export function decipherText(value, pass, onProgress) {
    const result = core.decipher(units(value), passNumber(pass), onProgress);
    return { text: text(result.units), judgement: result.judgement, damage: result.damage };
}

/** The `count` likeliest pass numbers of an enciphered text (a string, or a
 * file's bytes), best first: {pass, entry, score, opening}; `format` says,
 * unless null, that the text is not (or not cleanly) enciphered text:
 * "nothingEnciphered", "notEnciphered" or "damaged". With `opening`, the
 * text is the opening of a longer one: the group its end cuts is passed over. */
export function rankPassNumbers(enciphered, count = 5, { opening = false } = {}) {
    const value = typeof enciphered === 'string' ? enciphered : openText(enciphered).text;
    const ranking = core.rankPassNumbers(units(value), count, opening);
    const best = [];
    for (let i = 0; i < ranking.best.length; i++) {
        const item = ranking.best[i];
        best.push({ pass: item.pass, entry: text(item.entry), score: item.score, opening: text(item.opening) });
    }
    return { best, looksLikeText: ranking.looksLikeText, clearlyAhead: ranking.clearlyAhead, format: ranking.format };
}

/** A plain document file's bytes to the bytes of its enciphered file, as
 * zkt encipher writes them; `readAs` as for openText. */
export function encipher(data, pass, { encoding = 'auto', lineEnd = 'auto' } = {}) {
    return checked(core.encipherFile(bytes(data), passNumber(pass), encoding, lineEnd)).bytes;
}

/** An enciphered file's bytes to the bytes of its plain file (by default
 * Shift_JIS with CR LF, as zkt decipher writes), and how the result looks
 * (see decipherText): {bytes, judgement}. */
export function decipher(data, pass, { encoding = 'cp932', lineEnd = 'crlf', byteOrderMark = false } = {}) {
    const result = checked(core.decipherFile(bytes(data), passNumber(pass), encoding, lineEnd, byteOrderMark));
    return { bytes: result.bytes, judgement: result.judgement };
}

/* Long texts a piece at a time, in memory bounded by the pieces, for a
 * page that keeps its documents in Blobs. `source()` gives the next piece,
 * or null at the end: a Uint8Array (a file's bytes; for a text, ASCII code
 * units) or a Uint16Array (code units). `sink(piece)` is given each piece
 * of the result as it is made: code units (Uint16Array) for a text, bytes
 * (Uint8Array) for a file or an enciphered text. */

/** A document file read as openText reads it, its text going to `sink`:
 * the file's format. */
export function openStream(source, sink, { encoding = 'auto', lineEnd = 'auto' } = {}) {
    const { encoding: read, lineEnd: ends, byteOrderMark } = checked(core.openStream(source, encoding, lineEnd, sink));
    return { encoding: read, lineEnd: ends, byteOrderMark };
}

/** A text enciphered as encipherText enciphers it, its ASCII to `sink`. */
export function encipherStream(source, pass, sink) {
    core.encipherStream(source, passNumber(pass), sink);
}

/** A text deciphered as decipherText deciphers and judges it, its code
 * units to `sink`: {judgement, damage}. */
export function decipherStream(source, pass, sink) {
    return core.decipherStream(source, passNumber(pass), sink);
}

/** A text's file as saveText writes it, its bytes to `sink`: {lookAlikes}
 * (null, or as lookAlikes gives them). Throws a SolvenaError after the
 * whole text has been looked at; what the sink was given is then no file. */
export function saveStream(source, sink, { encoding = 'cp932', lineEnd = 'crlf', byteOrderMark = false } = {}) {
    return { lookAlikes: characters(checked(core.saveStream(source, encoding, lineEnd, byteOrderMark, sink)).lookAlikes) };
}

/** Code units (a Uint16Array, or a Uint8Array of ASCII) as a string, lone
 * surrogates kept. */
export function unitsText(array) {
    return text(array);
}

/** Runs zkt on `args` (the arguments after the program's name) with
 * `stdin` (bytes, or a string taken as UTF-8) as its standard input:
 * {status, stdout, stderr}, the outputs as bytes. */
export function run(args, stdin = new Uint8Array()) {
    if (!Array.isArray(args) || !args.every((arg) => typeof arg === 'string')) {
        throw new TypeError('run(args, stdin): args must be an array of strings');
    }
    return core.runZkt(args, bytes(stdin));
}

export const version = '@VERSION@';

const api = Object.freeze({
    SolvenaError, passEntry, openText, saveText, lookAlikes, openChoices, saveChoices, words,
    fileTypeOf, nameAs, savedName,
    encipherText, decipherText, openStream, encipherStream, decipherStream, saveStream, unitsText,
    rankPassNumbers, encipher, decipher, run, version,
});
export default api;
