// Random bytes and mutations of valid files for the randomized parser tests:
// mostly bytes of an alphabet the format gives meaning to, so that its structure is really
// exercised, with a seed so that a failure can be repeated.
#pragma once

#include <QByteArray>
#include <random>

class FuzzBytes {
public:
    FuzzBytes(unsigned seed, QByteArray alphabet)
        : m_random(seed), m_alphabet(std::move(alphabet)) {}

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }

    char Interesting() { return m_alphabet[Pick(0, static_cast<int>(m_alphabet.size()) - 1)]; }

    // Up to maxSize bytes, one in four of any value.
    QByteArray Random(int maxSize) {
        QByteArray bytes(Pick(0, maxSize), '\0');
        for (char& c : bytes)
            c = Pick(0, 3) ? Interesting() : static_cast<char>(Pick(0, 255));
        return bytes;
    }

    // One to maxEdits edits: a byte replaced, a run removed, a run of the file repeated
    // elsewhere, or the end cut off.
    QByteArray Mutated(QByteArray bytes, int maxEdits = 8) {
        for (int m = Pick(1, maxEdits); m > 0 && !bytes.isEmpty(); --m) {
            const int at = Pick(0, static_cast<int>(bytes.size()) - 1);
            switch (Pick(0, 3)) {
                case 0:
                    bytes[at] = Interesting();
                    break;
                case 1:
                    bytes.remove(at, Pick(1, 8));
                    break;
                case 2:
                    bytes.insert(at,
                                 bytes.mid(Pick(0, static_cast<int>(bytes.size())), Pick(1, 80)));
                    break;
                default:
                    bytes.truncate(at);
                    break;
            }
        }
        return bytes;
    }

private:
    std::mt19937 m_random;
    QByteArray m_alphabet;
};
