// The plain implementation behind reference_codec.h, written from the
// format's description step by step.
#include "reference_codec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace reference {

namespace {

constexpr int N = 4096;      // window
constexpr int F = 60;        // longest match
constexpr int THRESHOLD = 2; // shortest match is THRESHOLD + 1
constexpr int N_CHAR = 314;  // symbols
constexpr int T = 627;       // tree nodes
constexpr int R = 626;       // root
constexpr int MAX_FREQ = 0x8000;
constexpr int NIL = N;

struct Tree {
    std::array<unsigned, T + 1> freq{};
    std::array<int, T> son{};
    std::array<int, T + N_CHAR> prnt{};

    Tree() {
        for (int s = 0; s < N_CHAR; s++) {
            freq[s] = 1;
            son[s] = s + T;
            adopt(s);
        }
        for (int i = N_CHAR, j = 0; i <= R; i++, j += 2) {
            freq[i] = freq[j] + freq[j + 1];
            son[i] = j;
            adopt(i);
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }

    void rebuild() {
        int next = 0;
        for (int i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[next] = (freq[i] + 1) / 2;
                son[next] = son[i];
                next++;
            }
        }
        int i = 0;
        for (int k = N_CHAR; k < T; k++) {
            unsigned f = freq[i] + freq[i + 1];
            int p = k - 1;
            while (f < freq[p])
                p--;
            std::copy_backward(freq.begin() + p + 1, freq.begin() + k, freq.begin() + k + 1);
            std::copy_backward(son.begin() + p + 1, son.begin() + k, son.begin() + k + 1);
            freq[p + 1] = f;
            son[p + 1] = i;
            i += 2;
        }
        for (int k = 0; k < T; k++)
            adopt(k);
    }

    // Node k's son, and for an internal son its pair, have k for parent.
    void adopt(int k) {
        prnt[son[k]] = k;
        if (son[k] < T)
            prnt[son[k] + 1] = k;
    }

    void update(int s) {
        if (freq[R] == MAX_FREQ)
            rebuild();
        int c = prnt[s + T];
        do {
            freq[c]++;
            unsigned k = freq[c];
            if (k > freq[c + 1]) {
                int l = c + 1;
                while (freq[l + 1] < k)
                    l++;
                std::swap(freq[c], freq[l]);
                std::swap(son[c], son[l]);
                adopt(l);
                adopt(c);
                c = l;
            }
            c = prnt[c];
        } while (c != 0);
    }
};

// The position code, listed by length: 1 code of 3 bits, 3 of 4, 8 of 5,
// 12 of 6, 24 of 7, 16 of 8; each next code is the previous one plus one,
// shifted left by the growth in length.
struct PositionCodes {
    std::array<int, 64> length{};
    std::array<int, 64> code{}; // right-aligned
    PositionCodes() {
        const int counts[] = {1, 3, 8, 12, 24, 16}; // codes of 3, 4, ..., 8 bits
        int v = 0;
        int next = 0; // the next code of the current length
        for (int g = 0; g < 6; g++, next *= 2) {
            for (int n = 0; n < counts[g]; n++, v++) {
                length[v] = g + 3;
                code[v] = next++;
            }
        }
    }
};

// The stream's bits, most significant first; 0 past its end.
struct BitInput {
    const Bytes& in;
    std::size_t at = 0;
    int bit() {
        const std::size_t byte = at / 8;
        const int shift = 7 - static_cast<int>(at++ % 8);
        return byte < in.size() ? (in[byte] >> shift) & 1 : 0;
    }
};

struct BitOutput {
    Bytes out;
    int used = 8;
    void bit(int b) {
        if (used == 8) {
            out.push_back(0);
            used = 0;
        }
        if (b)
            out.back() |= 0x80 >> used;
        used++;
    }
    void bits(unsigned value, int n) {
        for (int i = n - 1; i >= 0; i--)
            bit((value >> i) & 1);
    }
};

struct SearchTree {
    std::array<std::uint8_t, N + F - 1> text{};
    std::array<int, N + 1> lson{};
    std::array<int, N + 257> rson{};
    std::array<int, N + 1> dad{};
    int match_length = 0;
    int match_position = 0;

    SearchTree() {
        rson.fill(NIL); // the 256 roots empty; a position's own links are set as it goes in
        dad.fill(NIL);
        std::fill_n(text.begin(), N - F, ' ');
    }

    void insert(int r) {
        int cmp = 1;
        int p = N + 1 + text[r];
        rson[r] = NIL;
        lson[r] = NIL;
        match_length = 0;
        for (;;) {
            int& next = cmp >= 0 ? rson[p] : lson[p];
            if (next == NIL) {
                next = r;
                dad[r] = p;
                return;
            }
            p = next;
            int i = 1;
            for (; i < F; i++) {
                cmp = text[r + i] - text[p + i];
                if (cmp != 0)
                    break;
            }
            if (i > THRESHOLD) {
                int d = ((r - p) & (N - 1)) - 1;
                if (i > match_length) {
                    match_position = d;
                    match_length = i;
                    if (i >= F)
                        break;
                } else if (i == match_length && d < match_position) {
                    match_position = d;
                }
            }
        }
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        (rson[dad[p]] == p ? rson[dad[p]] : lson[dad[p]]) = r;
        dad[p] = NIL;
    }

    void remove(int p) {
        if (dad[p] == NIL)
            return;
        int q;
        if (rson[p] == NIL) {
            q = lson[p];
        } else if (lson[p] == NIL) {
            q = rson[p];
        } else {
            q = lson[p];
            if (rson[q] != NIL) {
                while (rson[q] != NIL)
                    q = rson[q];
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        (rson[dad[p]] == p ? rson[dad[p]] : lson[dad[p]]) = q;
        dad[p] = NIL;
    }
};

void sendSymbol(Tree& tree, BitOutput& out, int s) {
    std::vector<int> path; // leaf first
    for (int k = tree.prnt[s + T]; k != R; k = tree.prnt[k])
        path.push_back(k & 1);
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        out.bit(*it);
    tree.update(s);
}

} // namespace

std::int32_t statedLength(const Bytes& stream) {
    const std::size_t L = stream.size();
    return static_cast<std::int32_t>(stream[L - 4] | (stream[L - 3] << 8) | (stream[L - 2] << 16) |
                                     (std::uint32_t{stream[L - 1]} << 24));
}

Bytes decode(const Bytes& stream) {
    Bytes result;
    if (stream.size() <= 4)
        return result;
    const std::int32_t n = statedLength(stream);
    const PositionCodes codes;
    Tree tree;
    BitInput in{stream};
    std::array<std::uint8_t, N> window{};
    std::fill_n(window.begin(), N - F, ' ');
    int r = N - F;
    auto put = [&](std::uint8_t b) {
        result.push_back(b);
        window[r] = b;
        r = (r + 1) % N;
    };
    while (static_cast<std::int64_t>(result.size()) < n) {
        int c = tree.son[R];
        while (c < T)
            c = tree.son[c + in.bit()];
        int s = c - T;
        tree.update(s);
        if (s < 256) {
            put(static_cast<std::uint8_t>(s));
            continue;
        }
        // Read bits until they form one of the 64 codes, then 6 plain bits.
        int upper = -1;
        int value = 0;
        for (int length = 1; upper < 0; length++) {
            value = value * 2 + in.bit();
            for (int v = 0; v < 64; v++) {
                if (codes.length[v] == length && codes.code[v] == value)
                    upper = v;
            }
        }
        int lower = 0;
        for (int i = 0; i < 6; i++)
            lower = lower * 2 + in.bit();
        int start = r - (upper * 64 + lower) - 1 + N;
        for (int k = 0; k < s - 253; k++)
            put(window[(start + k) % N]);
    }
    return result;
}

Bytes encode(const Bytes& input) {
    const PositionCodes codes;
    Tree tree;
    SearchTree st;
    BitOutput out;
    std::size_t next = 0; // the next input byte to fetch
    int s = 0;
    int r = N - F;
    int len = 0;
    while (len < F && next < input.size())
        st.text[r + len++] = input[next++];
    for (int i = 1; i <= F; i++)
        st.insert(r - i);
    st.insert(r);
    do {
        if (st.match_length > len)
            st.match_length = len;
        if (st.match_length <= THRESHOLD) {
            st.match_length = 1;
            sendSymbol(tree, out, st.text[r]);
        } else {
            sendSymbol(tree, out, st.match_length + 253);
            int upper = st.match_position >> 6;
            out.bits(static_cast<unsigned>(codes.code[upper]), codes.length[upper]);
            out.bits(static_cast<unsigned>(st.match_position & 63), 6);
        }
        int last = st.match_length;
        int i = 0;
        while (i < last && next < input.size()) {
            const std::uint8_t c = input[next++];
            st.remove(s);
            st.text[s] = c;
            if (s < F - 1)
                st.text[s + N] = c;
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            st.insert(r);
            i++;
        }
        while (i++ < last) {
            st.remove(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len)
                st.insert(r);
        }
    } while (len > 0);
    Bytes stream = out.out;
    for (int k = 0; k < 4; k++)
        stream.push_back(static_cast<std::uint8_t>(next >> (8 * k)));
    return stream;
}

} // namespace reference
