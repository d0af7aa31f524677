// SPDX-License-Identifier: MIT
// The password window of a password file: one field to open it, two to
// seal one, hidden characters that a toggle shows, Enter for OK.
import { $ } from './dialogs.mjs';

// A password a guess finds soon: short, or a pass number's four digits.
export function weakPassword(value) {
    return value.length < 10 || /^[0-9０-９]{4}$/.test(value);
}

function fieldsShown(confirm) {
    $('password').value = '';
    $('password-again').value = '';
    $('password-again-field').hidden = !confirm;
    $('password-shown').checked = false;
    $('password').type = 'password';
    $('password-again').type = 'password';
    $('password-warning').textContent = '';
}

// Why OK does not close yet, or '' when it may.
function refusal(confirm) {
    const value = $('password').value;
    if (value === '') {
        return 'パスワードを入力してください。';
    }
    if (confirm && value !== $('password-again').value) {
        return 'パスワードが一致しません。';
    }
    return '';
}

function warnWhileTyping(confirm) {
    $('password-warning').textContent = confirm && $('password').value !== '' && weakPassword($('password').value)
        ? 'このパスワードは弱く、推測されやすいです。10 文字以上の、数字だけではないものをお勧めします。'
        : '';
}

// Resolves to the password typed, or null when the window was cancelled.
// `confirm` asks for it twice, as a new password file needs.
export function askPassword(note, confirm = false) {
    const dialog = $('password-dialog');
    $('password-note').textContent = note;
    fieldsShown(confirm);
    return new Promise((resolve) => {
        const done = (value) => {
            dialog.close();
            fieldsShown(false);  // nothing of it stays in the page
            resolve(value);
        };
        const ok = () => {
            const why = refusal(confirm);
            if (why !== '') {
                $('password-warning').textContent = why;
                $(why.includes('一致') ? 'password-again' : 'password').focus();
                return;
            }
            done($('password').value);
        };
        $('password-ok').onclick = ok;
        $('password-cancel').onclick = () => done(null);
        dialog.oncancel = (event) => {
            event.preventDefault();
            done(null);
        };
        for (const id of ['password', 'password-again']) {
            $(id).oninput = () => warnWhileTyping(confirm);
            $(id).onkeydown = (event) => {
                if (event.key === 'Enter' && !event.isComposing) {
                    event.preventDefault();
                    ok();
                }
            };
        }
        dialog.showModal();
        $('password').focus();
    });
}

$('password-shown').addEventListener('change', (event) => {
    const type = event.target.checked ? 'text' : 'password';
    $('password').type = type;
    $('password-again').type = type;
});
