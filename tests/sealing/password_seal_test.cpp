// SPDX-License-Identifier: MIT
// Password files against gpg, the program every other OpenPGP tool is
// measured by: what is sealed here opens there, what gpg writes (any
// cipher, compressed or not, armored or not) opens here, and what cannot be
// trusted is told for what it is.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "sealing/fd_streams.h"
#include "sealing/password_seal.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace solvena::sealing {
namespace {

using testing::ProcessResult;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const std::string kText = "明日は雨が降るらしい。\r\n傘を持っていくこと。\r\n";

// gpg with a home of its own, never asking anyone anything.
struct Gpg {
    TempDir home;
    ProcessResult Run(std::vector<std::string> args, const std::string& input = "") const {
        args.insert(args.begin(), {"--homedir", home.path(), "--batch", "--yes", "--quiet",
                                   "--pinentry-mode", "loopback"});
        return testing::RunProcess("/usr/bin/gpg", args, input);
    }
};

std::string Sealed(const std::string& text, const std::string& password, bool armored) {
    std::string sealed;
    EXPECT_EQ(Seal(ReadFrom(text), AppendTo(sealed), password, {armored, "memo.txt"}),
              Outcome::Done);
    return sealed;
}

Unsealed Opened(const std::string& sealed, const std::string& password, std::string& text) {
    text.clear();
    return Unseal(ReadFrom(sealed), AppendTo(text), password);
}

TEST(PasswordSealTest, GpgOpensWhatIsSealedHere) {
    const Gpg gpg;
    for (const bool armored : {false, true}) {
        WriteBytes(gpg.home.File("memo.txt.gpg"), Sealed(kText, "雨の日の合言葉", armored));
        const ProcessResult opened =
            gpg.Run({"--passphrase", "雨の日の合言葉", "-d", gpg.home.File("memo.txt.gpg")});
        EXPECT_EQ(opened.exitCode, 0) << opened.err;
        EXPECT_EQ(opened.out, kText) << armored;
        // What the message is made of: AES-256, salted and iterated SHA-256
        // at the largest count, the integrity packet, the inner name.
        const ProcessResult packets = gpg.Run(
            {"--passphrase", "雨の日の合言葉", "--list-packets", gpg.home.File("memo.txt.gpg")});
        EXPECT_NE(packets.out.find("cipher 9, aead 0,s2k 3, hash 8"), std::string::npos)
            << packets.out;
        EXPECT_NE(packets.out.find("count 65011712"), std::string::npos) << packets.out;
        EXPECT_NE(packets.out.find("mdc_method: 2"), std::string::npos) << packets.out;
        EXPECT_NE(packets.out.find("name=\"memo.txt\""), std::string::npos) << packets.out;
    }
}

TEST(PasswordSealTest, OpensWhatGpgWrites) {
    const Gpg gpg;
    WriteBytes(gpg.home.File("memo.txt"), kText);
    struct Case {
        const char* cipher;
        const char* compression;
        bool armored;
    };
    for (const Case& c :
         {Case{"AES256", "none", false}, Case{"AES256", "zip", true}, Case{"AES", "zlib", false},
          Case{"TWOFISH", "bzip2", true}, Case{"CAMELLIA256", "zip", false},
          Case{"CAST5", "none", true}, Case{"3DES", "zlib", false}}) {
        std::vector<std::string> args{
            "--passphrase",    "合言葉",      "--s2k-count", "65536", "--cipher-algo", c.cipher,
            "--compress-algo", c.compression, "-o",          "-",     "--symmetric"};
        if (c.armored) {
            args.insert(args.end() - 1, "--armor");
        }
        args.push_back(gpg.home.File("memo.txt"));
        const ProcessResult sealed = gpg.Run(args);
        ASSERT_EQ(sealed.exitCode, 0) << sealed.err;
        std::string text;
        const Unsealed opened = Opened(sealed.out, "合言葉", text);
        EXPECT_EQ(opened.outcome, Outcome::Done) << c.cipher << " " << c.compression;
        EXPECT_EQ(text, kText) << c.cipher;
        EXPECT_EQ(opened.innerName, "memo.txt");
    }
}

TEST(PasswordSealTest, WhatCannotBeTrustedIsToldForWhatItIs) {
    const std::string sealed = Sealed(kText, "合言葉", false);
    std::string text;
    for (const char* wrong : {"合言葉ではない", ""}) {
        EXPECT_EQ(Opened(sealed, wrong, text).outcome, Outcome::WrongPassword);
        EXPECT_EQ(text, "");
    }
    // A byte changed anywhere in the encrypted text, or the file cut short.
    // (One changed in the random block that opens it, the format's quick
    // check of the password, reads as a wrong password, in gpg too.)
    const std::size_t encryptedText = 15 + 2 + 1 + 18;
    for (std::size_t at = encryptedText; at < sealed.size(); at += 5) {
        std::string changed = sealed;
        changed[at] = static_cast<char>(changed[at] ^ 0x01);
        EXPECT_EQ(Opened(changed, "合言葉", text).outcome, Outcome::Damaged) << at;
    }
    for (const std::size_t kept :
         {sealed.size() - 1, sealed.size() / 2, std::size_t{16}, std::size_t{1}}) {
        EXPECT_EQ(Opened(sealed.substr(0, kept), "合言葉", text).outcome, Outcome::Damaged) << kept;
    }
    EXPECT_EQ(Opened(kText, "合言葉", text).outcome, Outcome::NotOpenPgp);
    EXPECT_EQ(Opened("", "合言葉", text).outcome, Outcome::NotOpenPgp);
}

TEST(PasswordSealTest, MessagesForKeysOrUnencryptedAreNotPasswordFiles) {
    const Gpg gpg;
    ASSERT_EQ(gpg.Run({"--passphrase", "", "--quick-gen-key", "throwaway@example.invalid",
                       "future-default", "default", "never"})
                  .exitCode,
              0);
    WriteBytes(gpg.home.File("memo.txt"), kText);
    std::string text;
    const ProcessResult toKey =
        gpg.Run({"--trust-model", "always", "-r", "throwaway@example.invalid", "-o", "-",
                 "--encrypt", gpg.home.File("memo.txt")});
    ASSERT_EQ(toKey.exitCode, 0) << toKey.err;
    EXPECT_EQ(Opened(toKey.out, "合言葉", text).outcome, Outcome::EncryptedToKey);
    const ProcessResult signedOnly =
        gpg.Run({"--passphrase", "", "-o", "-", "--sign", gpg.home.File("memo.txt")});
    ASSERT_EQ(signedOnly.exitCode, 0) << signedOnly.err;
    EXPECT_EQ(Opened(signedOnly.out, "合言葉", text).outcome, Outcome::NotEncrypted);
    const ProcessResult stored = gpg.Run({"-o", "-", "--store", gpg.home.File("memo.txt")});
    EXPECT_EQ(Opened(stored.out, "合言葉", text).outcome, Outcome::NotEncrypted);
}

// Both ways a piece at a time: writing begins long before reading ends, and
// a reader's or writer's failure is theirs, not a wrong password.
TEST(PasswordSealTest, StreamsAndTellsTheStreamsFaults) {
    const std::size_t size = 8 << 20;
    std::size_t fed = 0;
    std::size_t fedAtFirstWrite = 0;
    const Reader zeros = [&](char* buffer, std::size_t room, std::size_t& got) {
        got = std::min(room, size - fed);
        std::fill_n(buffer, got, 'a');
        fed += got;
        return true;
    };
    std::string sealed;
    const Writer firstWriteSeen = [&](const char* bytes, std::size_t length) {
        fedAtFirstWrite = fedAtFirstWrite == 0 ? fed : fedAtFirstWrite;
        sealed.append(bytes, length);
        return true;
    };
    ASSERT_EQ(Seal(zeros, firstWriteSeen, "合言葉", {}), Outcome::Done);
    EXPECT_LT(fedAtFirstWrite, size / 2);
    std::size_t opened = 0;
    const Writer counted = [&](const char*, std::size_t length) {
        opened += length;
        return true;
    };
    EXPECT_EQ(Unseal(ReadFrom(sealed), counted, "合言葉").outcome, Outcome::Done);
    EXPECT_EQ(opened, size);

    const Reader failing = [](char*, std::size_t, std::size_t&) { return false; };
    const Writer refusing = [](const char*, std::size_t) { return false; };
    std::string out;
    EXPECT_EQ(Seal(failing, AppendTo(out), "合言葉", {}), Outcome::ReadFailed);
    EXPECT_EQ(Seal(ReadFrom(kText), refusing, "合言葉", {}), Outcome::WriteFailed);
    EXPECT_EQ(Unseal(failing, AppendTo(out), "合言葉").outcome, Outcome::ReadFailed);
    EXPECT_EQ(Unseal(ReadFrom(sealed), refusing, "合言葉").outcome, Outcome::WriteFailed);
    // On files, the system's reason is kept for the message.
    int failure = 0;
    EXPECT_EQ(Seal(ReadFd(-1, failure), AppendTo(out), "合言葉", {}), Outcome::ReadFailed);
    EXPECT_EQ(failure, EBADF);
    failure = 0;
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    EXPECT_EQ(Seal(ReadFrom(kText), WriteFd(full, failure), "合言葉", {}), Outcome::WriteFailed);
    EXPECT_EQ(failure, ENOSPC);
    ::close(full);
}

}  // namespace
}  // namespace solvena::sealing
