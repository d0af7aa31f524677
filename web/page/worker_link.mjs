// SPDX-License-Identifier: MIT
// The worker that runs the module's C++: calls to it and their answers, and
// its end and restart when a run is cancelled or the module fails.

let worker;
let ready;
let nextId = 1;
const pending = new Map();

// Every call still waiting is answered with `error`.
function rejectAll(error) {
    for (const run of pending.values()) {
        run.reject(error);
    }
    pending.clear();
}

function restartWorker(error) {
    worker.terminate();
    rejectAll(error);
    startWorker();
}

export function startWorker() {
    // The one-file page carries the worker's source: a page opened from disk
    // may start a worker from a data: URL only.
    const inline = document.getElementById('worker-source');
    const source = inline
        ? `data:text/javascript;charset=utf-8,${encodeURIComponent(inline.textContent)}`
        : new URL('worker.mjs', import.meta.url);
    worker = new Worker(source, { type: 'module' });
    ready = new Promise((resolve) => {
        worker.addEventListener('message', (event) => {
            if (event.data.ready) {
                resolve();
            }
        });
    });
    worker.onmessage = (event) => {
        const { id, progress, result, error } = event.data;
        const call = pending.get(id);
        if (!call) {
            return;
        }
        if (progress !== undefined) {
            call.onProgress?.(progress);
            return;
        }
        pending.delete(id);
        if (error === undefined) {
            call.resolve(result);
        } else if (error.fatal) {
            // The module is left unusable (out of memory, most often).
            call.reject(error);
            restartWorker(error);
        } else {
            call.reject(error);
        }
    };
    // A worker that dies takes its calls with it.
    worker.onerror = (event) => {
        event.preventDefault();
        restartWorker({ kind: 'workerFailed', message: event.message });
    };
}

export function whenReady() {
    return ready;
}

export async function call(name, args, onProgress) {
    // A worker started meanwhile is waited for too.
    for (let started = null; started !== ready;) {
        started = ready;
        await started;
    }
    return new Promise((resolve, reject) => {
        const id = nextId++;
        pending.set(id, { resolve, reject, onProgress });
        try {
            worker.postMessage({ id, call: name, args });
        } catch (error) {
            pending.delete(id);
            reject({ kind: 'outOfMemory', message: String(error) });
        }
    });
}

// Cancelling ends the worker where it is and starts another: the document
// stays as it was.
export function cancelRuns() {
    restartWorker({ cancelled: true });
}
