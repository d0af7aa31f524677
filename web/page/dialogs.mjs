// SPDX-License-Identifier: MIT
// The page's message boxes, the progress window and the status line.
import { call, cancelRuns } from './worker_link.mjs';

export const $ = (id) => document.getElementById(id);

export function say(message) {
    $('status').textContent = message;
}

// Asks as the desktop program's message boxes do; resolves to the value of
// the button chosen ("yes", "no", "find", "cancel" or "ok"); Escape answers
// "cancel" when it is offered, else "no", else the last answer. The button
// `focused` is what Enter presses.
export function ask(message, answers, focused = answers[0]) {
    const dialog = $('question');
    $('question-text').textContent = message;
    const buttons = dialog.querySelectorAll('.answers button');
    for (const button of buttons) {
        button.hidden = !answers.includes(button.value);
    }
    return new Promise((resolve) => {
        const done = (value) => {
            dialog.close();
            resolve(value);
        };
        for (const button of buttons) {
            button.onclick = () => done(button.value);
        }
        dialog.oncancel = (event) => {
            event.preventDefault();
            done(['cancel', 'no'].find((answer) => answers.includes(answer)) ?? answers.at(-1));
        };
        dialog.showModal();
        dialog.querySelector(`.answers button[value="${focused}"]`).focus();
    });
}

export const notify = (message) => ask(message, ['ok']);

// Runs a long call with the progress window; null when it was cancelled.
export async function withProgress(name, args) {
    const dialog = $('progress');
    const bar = $('progress-bar');
    bar.value = 0;
    const shown = setTimeout(() => dialog.showModal(), 150);
    try {
        return await call(name, args, (fraction) => {
            bar.value = fraction;
        });
    } catch (error) {
        if (error.cancelled) {
            say('キャンセルしました。文書は元のままです。');
            return null;
        }
        throw error;
    } finally {
        clearTimeout(shown);
        if (dialog.open) {
            dialog.close();
        }
    }
}

$('cancel').addEventListener('click', cancelRuns);
$('progress').addEventListener('cancel', (event) => {
    event.preventDefault();
    cancelRuns();
});

// The system beep of the pass-number window, as a short tone.
export function beep() {
    try {
        const audio = new AudioContext();
        const tone = audio.createOscillator();
        const volume = audio.createGain();
        volume.gain.value = 0.1;
        tone.frequency.value = 880;
        tone.connect(volume).connect(audio.destination);
        tone.start();
        tone.stop(audio.currentTime + 0.12);
        tone.onended = () => audio.close();
    } catch {
        // no sound to be had: the label says it all the same
    }
}
