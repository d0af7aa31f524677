// SPDX-License-Identifier: MIT
// Password files, in a worker of their own that the page starts only when
// one is opened or chosen for a save: OpenPGP.js is loaded then and never
// before, and a page that never meets one never loads it.
let library = null;
const openpgp = () => (library ??= import('./openpgp.min.mjs'));

// The packets' tags that tell what a message is.
const kKeyLock = 1;
const kPasswordLock = 3;
const kNoIntegrity = 9;

// Whether the bytes are armored text ("-----BEGIN PGP MESSAGE-----").
function armored(bytes) {
    const opening = new TextDecoder('latin1').decode(bytes.subarray(0, 64)).trimStart();
    return opening.startsWith('-----BEGIN PGP');
}

async function readMessage(pgp, bytes) {
    try {
        return armored(bytes)
            ? await pgp.readMessage({ armoredMessage: new TextDecoder('latin1').decode(bytes) })
            : await pgp.readMessage({ binaryMessage: bytes });
    } catch {
        throw { kind: 'notOpenPGP' };
    }
}

// What can be done with a message before any password is asked for: it is
// refused when a password cannot open it at all.
function examine(pgp, message) {
    const tags = message.packets.map((packet) => packet.constructor.tag);
    const locks = message.packets.filter((packet) => packet.constructor.tag === kPasswordLock);
    if (locks.length === 0) {
        throw { kind: tags.includes(kKeyLock) ? 'publicKey' : 'notOpenPGP' };
    }
    if (tags.includes(kNoIntegrity)) {
        throw { kind: 'noIntegrity' };
    }
    // OpenPGP.js knows fewer ciphers than gpg (no Camellia, no IDEA): a
    // right password would otherwise be called wrong.
    const known = (id) => id !== pgp.enums.symmetric.idea && Object.values(pgp.enums.symmetric).includes(id);
    if (!locks.some((lock) => known(lock.sessionKeyAlgorithm))) {
        throw { kind: 'unknownCipher', cipher: locks[0].sessionKeyAlgorithm };
    }
}

// A message is read again for each try: a failed one uses it up.
async function unseal(bytes, password) {
    const pgp = await openpgp();
    examine(pgp, await readMessage(pgp, bytes));
    if (password === null) {
        return null;  // only examined, before the password is asked for
    }
    const message = await readMessage(pgp, bytes);
    try {
        const { data } = await pgp.decrypt({ message, passwords: [password], format: 'binary' });
        return data;
    } catch (error) {
        // Without the integrity packet OpenPGP.js refuses too; examine()
        // names that case before, so what is left is the password.
        throw { kind: /authenticated/i.test(error?.message ?? '') ? 'noIntegrity' : 'wrongPassword' };
    }
}

// Sealed as gpg --symmetric seals, so that gpg 2.2 and zkt read it: AES-256,
// SHA-256 with the largest iteration count, the integrity packet (no
// AEAD), nothing compressed, the text's file name inside.
async function seal(bytes, password, innerName) {
    const pgp = await openpgp();
    const message = await pgp.createMessage({ binary: bytes, filename: innerName, format: 'binary' });
    return pgp.encrypt({
        message,
        passwords: [password],
        format: 'binary',
        config: {
            preferredSymmetricAlgorithm: pgp.enums.symmetric.aes256,
            preferredHashAlgorithm: pgp.enums.hash.sha256,
            s2kType: pgp.enums.s2k.iterated,
            s2kIterationCountByte: 255,  // 65011712, the most OpenPGP can say, as zkt writes
            aeadProtect: false,
            preferredCompressionAlgorithm: pgp.enums.compression.uncompressed,
        },
    });
}

const calls = { unseal, seal };

self.onmessage = async (event) => {
    const { id, call, args } = event.data;
    try {
        const result = await calls[call](...args);
        self.postMessage({ id, result }, result instanceof Uint8Array ? [result.buffer] : []);
    } catch (error) {
        const kind = error?.kind ?? 'failed';
        self.postMessage({ id, error: { kind, cipher: error?.cipher, message: error?.message ?? String(error) } });
    }
};
