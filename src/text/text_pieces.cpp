#include "text_pieces.h"

bool next_piece(TextPieces& pieces, std::size_t maxChars, std::string& piece) {
    const std::string& text = pieces.text;
    if (pieces.position >= text.size() || maxChars == 0) return false;
    std::size_t end = pieces.position;
    while (end < text.size() && end - pieces.position < maxChars) {
        if (text[end++] == '\n') break;
    }
    piece.assign(text, pieces.position, end - pieces.position);
    pieces.position = end;
    std::size_t nul = piece.find('\0');
    if (nul != std::string::npos) piece.resize(nul);
    return true;
}

std::string without_line_end(const std::string& piece) {
    if (!piece.empty() && (piece.back() == '\n' || piece.back() == '\r')) return piece.substr(0, piece.size() - 1);
    return piece;
}
