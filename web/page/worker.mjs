// SPDX-License-Identifier: MIT
// The page's work, away from the page so that it never freezes: every call
// runs the module's C++, and long runs report progress as they go. The page
// cancels a run by ending this worker and starting another.
//
// A text is a string, or for a large one {blob, wide, length, opening}:
// its code units in a Blob (two bytes each, or one for an ASCII text such
// as an enciphered one), read and written a piece at a time, so that
// neither this worker nor the page ever holds a large document whole.
import solvena from './solvena.mjs';

// Units read at a time, and the size a result may reach as a string; above
// it a result is a Blob, and the page shows its opening.
const kPieceUnits = 1 << 18;
const kLargeAbove = 1 << 20;
const kOpeningUnits = 20000;
// Bytes of a result gathered before they go to a Blob of their own.
const kBlobEvery = 16 << 20;
const reader = new FileReaderSync();

function stringUnits(text, start, end) {
    const units = new Uint16Array(end - start);
    for (let i = start; i < end; i++) {
        units[i - start] = text.charCodeAt(i);
    }
    return units;
}

// The units from `start` to `end` of a text, whichever way it is held.
function unitsOf(text, start, end) {
    if (typeof text === 'string') {
        return stringUnits(text, start, end);
    }
    const width = text.wide ? 2 : 1;
    const buffer = reader.readAsArrayBuffer(text.blob.slice(start * width, end * width));
    return text.wide ? new Uint16Array(buffer) : new Uint8Array(buffer);
}

// The text's units, a piece a call, then null; `progress` is told how far
// the reading has come.
function unitSource(text, progress) {
    let at = 0;
    return () => {
        if (at >= text.length) {
            return null;
        }
        const end = Math.min(text.length, at + kPieceUnits);
        const piece = unitsOf(text, at, end);
        at = end;
        progress(at, text.length);
        return piece;
    };
}

// A file's (or a Blob's) bytes, a megabyte a call.
function byteSource(file, progress) {
    let at = 0;
    return () => {
        if (at >= file.size) {
            return null;
        }
        const end = Math.min(file.size, at + (1 << 20));
        const piece = new Uint8Array(reader.readAsArrayBuffer(file.slice(at, end)));
        at = end;
        progress(at, file.size);
        return piece;
    };
}

// Gathers a result's pieces: a string when it is short, else a text in a
// Blob with its opening; `wide` for code units, else bytes.
class Gathered {
    constructor(wide) {
        this.wide = wide;
        this.blobs = [];
        this.held = [];
        this.heldBytes = 0;
        this.length = 0;
        this.opening = '';
    }

    add(piece) {
        this.length += piece.length;
        if (this.opening.length < kOpeningUnits) {
            this.opening += solvena.unitsText(piece.subarray(0, kOpeningUnits - this.opening.length));
        }
        this.held.push(piece);
        this.heldBytes += piece.byteLength;
        if (this.heldBytes >= kBlobEvery) {
            this.blobs.push(new Blob(this.held));
            this.held = [];
            this.heldBytes = 0;
        }
    }

    blob(type) {
        return new Blob([...this.blobs, ...this.held], type ? { type } : {});
    }

    text() {
        if (this.length > kLargeAbove) {
            return { blob: this.blob(), wide: this.wide, length: this.length, opening: this.opening };
        }
        return this.held.map((piece) => solvena.unitsText(piece)).join('');
    }
}

function gather(wide, run) {
    const out = new Gathered(wide);
    const result = run((piece) => out.add(piece));
    return { out, result };
}

// A file (or a password file's text, in a Blob) to its document.
function openFile(file, choice, progress) {
    const { out, result } = gather(true, (sink) => solvena.openStream(byteSource(file, progress), sink, choice));
    return { text: out.text(), format: result };
}

function encipherPieces(text, pass, progress) {
    return gather(false, (sink) => solvena.encipherStream(unitSource(text, progress), pass, sink)).out.text();
}

function decipherPieces(text, pass, progress) {
    const { out, result } = gather(true, (sink) => solvena.decipherStream(unitSource(text, progress), pass, sink));
    return { text: out.text(), judgement: result.judgement, damage: result.damage };
}

// The file's bytes in a Blob, and the look-alikes met on the way.
function savePieces(text, format, progress) {
    const { out, result } = gather(false, (sink) => solvena.saveStream(unitSource(text, progress), sink, format));
    return { blob: out.blob('application/octet-stream'), lookAlikes: result.lookAlikes };
}

// The ranking of a large text reads its opening, as zkt's does.
function rankOpening(text, count) {
    if (typeof text === 'string') {
        return solvena.rankPassNumbers(text, count);
    }
    const opening = unitsOf(text, 0, Math.min(text.length, kLargeAbove));
    return solvena.rankPassNumbers(solvena.unitsText(opening), count, { opening: opening.length < text.length });
}

const calls = {
    passEntry: (entry) => solvena.passEntry(entry),
    openChoices: () => solvena.openChoices(),
    saveChoices: (format) => solvena.saveChoices(format),
    words: () => solvena.words(),
    fileTypeOf: (name) => solvena.fileTypeOf(name),
    nameAs: (name, type) => solvena.nameAs(name, type),
    savedName: (name, type) => solvena.savedName(name, type),
    open: openFile,
    save: savePieces,
    encipher: encipherPieces,
    decipher: decipherPieces,
    rank: rankOpening,
};

self.onmessage = (event) => {
    const { id, call, args } = event.data;
    const progress = (position, length) => self.postMessage({ id, progress: position / length });
    try {
        const result = calls[call](...args, progress);
        const transfer = result instanceof Uint8Array ? [result.buffer] : [];
        self.postMessage({ id, result }, transfer);
    } catch (error) {
        // Anything but a document rule's refusal leaves the module unusable
        // (an allocation that failed aborts it): the page starts another.
        const fatal = error?.name !== 'SolvenaError';
        self.postMessage({ id, error: { name: error?.name, message: error?.message ?? String(error), ...error, fatal } });
    }
};
self.postMessage({ ready: true });
