// SPDX-License-Identifier: MIT
// The pass-number field: the pass-number window's rule as the entry
// changes, the value read again when a command uses it, and Enter as the
// window's OK.
import { $, beep, say } from './dialogs.mjs';
import { words } from './messages.mjs';
import { call } from './worker_link.mjs';

export const pass = $('pass');
const passLabel = $('pass-label');

// An entry that is no number of at most four characters is emptied with a
// beep, and the label says why.
function refuse() {
    beep();
    pass.value = '';
    passLabel.textContent = words.passRejected;
}

pass.addEventListener('input', async () => {
    const entry = pass.value;
    if (entry === '') {
        passLabel.textContent = words.passPrompt;
        return;
    }
    const value = await call('passEntry', [entry]);
    if (pass.value === entry && (value === null || value === -1)) {
        refuse();
    }
});

// The command that asked for a pass number it did not find, which Enter
// then runs, as OK ends the window that command opened.
let waiting = null;

// The pass number of the entry as it is now; null, and the field focused,
// when there is none.
export async function passNumber(command) {
    const entry = pass.value;
    const value = entry === '' ? null : await call('passEntry', [entry]);
    if (value === null || value === -1) {
        if (entry !== '') {
            refuse();
        } else {
            passLabel.textContent = words.passPrompt;
        }
        waiting = command;
        pass.focus();
        say('パスナンバーを入力してください。');
        return null;
    }
    waiting = null;
    return value;
}

// A pass number chosen elsewhere (a candidate), shown as its entry.
export function showPass(entry) {
    pass.value = entry;
    passLabel.textContent = words.passPrompt;
    waiting = null;
}

// Enter without a command waiting runs the one the document asks for.
export function onEnter(fallback) {
    pass.addEventListener('keydown', (event) => {
        if (event.key !== 'Enter' || event.isComposing) {
            return;
        }
        event.preventDefault();
        const command = waiting ?? fallback();
        waiting = null;
        if (pass.value === '') {
            say('');  // as the window closed without a number: nothing is done
            return;
        }
        command();
    });
}
