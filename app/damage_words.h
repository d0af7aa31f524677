// SPDX-License-Identifier: MIT
#pragma once

// What 解読 tells of an enciphered document that breaks the format, in the
// program's words, and the damaged place selected in the editor.

#include <QString>

#include "cipher/cipher_evidence.h"

namespace solvena::app {

class EditorBox;

// The question before the result of a damaged document takes its place.
QString DamagedQuestion(const cipher::CipherEvidence& evidence);

// Selects the first damaged place of the document and brings it into view.
void SelectDamage(EditorBox& editor, const cipher::DamagePlace& place);

}  // namespace solvena::app
