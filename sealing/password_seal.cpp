// SPDX-License-Identifier: MIT
#include "sealing/password_seal.h"

#include <rnp/rnp.h>
#include <rnp/rnp_err.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "sealing/quiet_errors.h"

namespace solvena::sealing {
namespace {

// The library's handles, each released by its own function.
template <typename Handle, rnp_result_t (*Release)(Handle)>
struct Releaser {
    void operator()(Handle handle) const { Release(handle); }
};
template <typename Pointee, rnp_result_t (*Release)(Pointee*)>
using Owned = std::unique_ptr<Pointee, Releaser<Pointee*, Release>>;
using Ffi = Owned<rnp_ffi_st, rnp_ffi_destroy>;
using Input = Owned<rnp_input_st, rnp_input_destroy>;
using Output = Owned<rnp_output_st, rnp_output_destroy>;
using Encryption = Owned<rnp_op_encrypt_st, rnp_op_encrypt_destroy>;
using Decryption = Owned<rnp_op_verify_st, rnp_op_verify_destroy>;

// A string the library made, freed as it asks.
struct LibraryText {
    char* text = nullptr;
    LibraryText() = default;
    LibraryText(const LibraryText&) = delete;
    LibraryText& operator=(const LibraryText&) = delete;
    ~LibraryText() { rnp_buffer_destroy(text); }
    std::string_view view() const { return text != nullptr ? text : ""; }
};

// The caller's reader and writer, and whether they failed: the library
// reports their failure only as its own.
struct Streams {
    const Reader& read;
    const Writer& write;
    bool readFailed = false;
    bool writeFailed = false;
    std::string opening;  // the first bytes read, to know a message cut very short
};

constexpr std::size_t kOpening = 32;

bool ReadSome(void* context, void* buffer, std::size_t room, std::size_t* got) {
    auto* streams = static_cast<Streams*>(context);
    if (!streams->read(static_cast<char*>(buffer), room, *got)) {
        streams->readFailed = true;
        return false;
    }
    const std::size_t kept = std::min(*got, kOpening - streams->opening.size());
    streams->opening.append(static_cast<const char*>(buffer), kept);
    return true;
}

bool WriteAll(void* context, const void* bytes, std::size_t size) {
    auto* streams = static_cast<Streams*>(context);
    if (!streams->write(static_cast<const char*>(bytes), size)) {
        streams->writeFailed = true;
        return false;
    }
    return true;
}

Ffi NewFfi() {
    rnp_ffi_t made = nullptr;
    return Ffi(rnp_ffi_create(&made, "GPG", "GPG") == RNP_SUCCESS ? made : nullptr);
}

Input NewInput(Streams& streams) {
    rnp_input_t made = nullptr;
    return Input(rnp_input_from_callback(&made, ReadSome, nullptr, &streams) == RNP_SUCCESS
                     ? made
                     : nullptr);
}

Output NewOutput(Streams& streams) {
    rnp_output_t made = nullptr;
    return Output(
        rnp_output_to_callback(&made, WriteAll, nullptr, &streams) == RNP_SUCCESS ? made : nullptr);
}

// The password, given once: asked again, the library would only try it
// again.
struct PasswordGiven {
    std::string_view password;
    bool given = false;
};

bool GivePassword(rnp_ffi_t, void* context, rnp_key_handle_t, const char*, char buffer[],
                  std::size_t room) {
    auto* given = static_cast<PasswordGiven*>(context);
    if (given->given || given->password.size() >= room) {
        return false;
    }
    std::memcpy(buffer, given->password.data(), given->password.size());
    buffer[given->password.size()] = '\0';
    given->given = true;
    return true;
}

Outcome StreamFault(const Streams& streams) {
    if (streams.readFailed) {
        return Outcome::ReadFailed;
    }
    return streams.writeFailed ? Outcome::WriteFailed : Outcome::Failed;
}

bool Configure(rnp_op_encrypt_t op, std::string_view password, const SealChoices& choices) {
    const std::string secret(password);
    return rnp_op_encrypt_add_password(op, secret.c_str(), "SHA256", kKeyIterations, "AES256") ==
               RNP_SUCCESS &&
           rnp_op_encrypt_set_cipher(op, "AES256") == RNP_SUCCESS &&
           rnp_op_encrypt_set_aead(op, "None") == RNP_SUCCESS &&
           rnp_op_encrypt_set_compression(op, "Uncompressed", 0) == RNP_SUCCESS &&
           rnp_op_encrypt_set_armor(op, choices.armored) == RNP_SUCCESS &&
           rnp_op_encrypt_set_file_name(op, choices.innerName.c_str()) == RNP_SUCCESS;
}

// Whether a message the library could not read opens as a password
// message does: with a password's packet (tag 3, in the new form or the
// old), or armored.
bool OpensAsPasswordMessage(std::string_view opening) {
    if (opening.starts_with("-----BEGIN PGP MESSAGE-----")) {
        return true;
    }
    const auto tag = opening.empty() ? 0u : static_cast<unsigned char>(opening[0]);
    return tag == 0xC3 || (tag >= 0x8C && tag <= 0x8F);
}

// What a finished decryption (or its failure, `result`) says of the message.
Outcome Judged(rnp_op_verify_t op, rnp_result_t result, const Streams& streams) {
    if (streams.readFailed || streams.writeFailed) {
        return StreamFault(streams);
    }
    std::size_t keys = 0;
    std::size_t passwords = 0;
    std::size_t signatures = 0;
    rnp_op_verify_get_recipient_count(op, &keys);
    rnp_op_verify_get_symenc_count(op, &passwords);
    rnp_op_verify_get_signature_count(op, &signatures);
    if (passwords == 0 && keys > 0) {
        return Outcome::EncryptedToKey;
    }
    if (result == RNP_ERROR_BAD_PASSWORD || result == RNP_ERROR_NO_SUITABLE_KEY ||
        result == RNP_ERROR_DECRYPT_FAILED) {
        return passwords > 0 ? Outcome::WrongPassword : Outcome::NotOpenPgp;
    }
    LibraryText mode;
    bool valid = false;
    rnp_op_verify_get_protection_info(op, &mode.text, nullptr, &valid);
    if (result != RNP_SUCCESS && result != RNP_ERROR_SIGNATURE_INVALID &&
        result != RNP_ERROR_KEY_NOT_FOUND) {
        return passwords > 0 || keys > 0 || signatures > 0 ||
                       OpensAsPasswordMessage(streams.opening)
                   ? Outcome::Damaged
                   : Outcome::NotOpenPgp;
    }
    if (mode.view() == "none") {
        // A session key for data that is not there: cut short.
        return passwords > 0 ? Outcome::Damaged : Outcome::NotEncrypted;
    }
    if (mode.view() == "cfb") {
        return Outcome::NoIntegrity;
    }
    return valid ? Outcome::Done : Outcome::Damaged;
}

}  // namespace

Outcome Seal(const Reader& read, const Writer& write, std::string_view password,
             const SealChoices& choices) {
    Streams streams{read, write, false, false, {}};
    const Ffi ffi = NewFfi();
    const Input input = NewInput(streams);
    const Output output = NewOutput(streams);
    if (!ffi || !input || !output) {
        return Outcome::Failed;
    }
    rnp_op_encrypt_t made = nullptr;
    if (rnp_op_encrypt_create(&made, ffi.get(), input.get(), output.get()) != RNP_SUCCESS) {
        return Outcome::Failed;
    }
    const Encryption op(made);
    if (!Configure(op.get(), password, choices)) {
        return Outcome::Failed;
    }
    const QuietErrors quiet;
    if (rnp_op_encrypt_execute(op.get()) != RNP_SUCCESS ||
        rnp_output_finish(output.get()) != RNP_SUCCESS) {
        return StreamFault(streams);
    }
    return streams.readFailed || streams.writeFailed ? StreamFault(streams) : Outcome::Done;
}

Unsealed Unseal(const Reader& read, const Writer& write, std::string_view password) {
    Streams streams{read, write, false, false, {}};
    PasswordGiven given{password};
    const Ffi ffi = NewFfi();
    const Input input = NewInput(streams);
    const Output output = NewOutput(streams);
    if (!ffi || !input || !output ||
        rnp_ffi_set_pass_provider(ffi.get(), GivePassword, &given) != RNP_SUCCESS) {
        return {};
    }
    rnp_op_verify_t made = nullptr;
    if (rnp_op_verify_create(&made, ffi.get(), input.get(), output.get()) != RNP_SUCCESS) {
        return {};
    }
    const Decryption op(made);
    const QuietErrors quiet;
    const rnp_result_t result = rnp_op_verify_execute(op.get());
    Unsealed unsealed;
    unsealed.outcome = Judged(op.get(), result, streams);
    LibraryText name;
    if (unsealed.outcome == Outcome::Done &&
        rnp_op_verify_get_file_info(op.get(), &name.text, nullptr) == RNP_SUCCESS) {
        unsealed.innerName = name.view();
    }
    return unsealed;
}

Reader ReadFrom(std::string_view bytes) {
    return [bytes](char* buffer, std::size_t room, std::size_t& got) mutable {
        got = std::min(room, bytes.size());
        if (got > 0) {
            std::memcpy(buffer, bytes.data(), got);
        }
        bytes.remove_prefix(got);
        return true;
    };
}

Writer AppendTo(std::string& bytes) {
    return [&bytes](const char* more, std::size_t size) {
        bytes.append(more, size);
        return true;
    };
}

}  // namespace solvena::sealing
