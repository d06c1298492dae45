#include "ui/editor_drawing.h"

#include <algorithm>

namespace corvane {

namespace {

// A window writes no further than its right edge; this goes on at the start
// of the next row, up to the end of lastRow.
void writeRunningOn(TextWindow& window, std::string_view text, int colour, int lastRow,
                    int background = -1) {
  for (int row = window.cursorRow(); row <= lastRow && !text.empty(); ++row) {
    const auto room = static_cast<std::size_t>(window.width() + 2 - window.cursorColumn());
    window.writeColoured(text.substr(0, room), colour, background);
    text.remove_prefix(std::min(room, text.size()));
    if (!text.empty() && row < lastRow) window.setCursor(1, row + 1);
  }
}

}  // namespace

std::string withDots(std::string_view text, std::size_t kept) {
  return std::string(text.substr(0, kept)) + "..";
}

std::size_t keptBeforeDots(std::size_t length, std::size_t room) {
  return length <= room ? length : room - std::min<std::size_t>(room, 2);
}

std::string fitWithDots(std::string_view text, std::size_t room) {
  if (text.size() <= room) return std::string(text);
  return withDots(text, keptBeforeDots(text.size(), room)).substr(0, room);
}

void writePieces(TextWindow& window, const std::vector<LinePiece>& pieces, int lastRow) {
  const auto columns = static_cast<std::size_t>(window.width() + 1);
  const std::size_t room =
      columns - static_cast<std::size_t>(window.cursorColumn() - 1) +
      static_cast<std::size_t>(std::max(0, lastRow - window.cursorRow())) * columns;
  std::size_t length = 0;
  for (const LinePiece& piece : pieces) length += piece.text.size();
  const bool cut = length > room;
  std::size_t left = keptBeforeDots(length, room);
  for (const LinePiece& piece : pieces) {
    if (left == 0) break;
    const int column = window.cursorColumn();
    const int row = window.cursorRow();
    writeRunningOn(window, std::string_view(piece.text).substr(0, left), piece.colour, lastRow,
                   piece.background);
    if (piece.key != 0) clickableSince(window, column, row, piece.key);
    left -= std::min(left, piece.text.size());
  }
  if (cut) writeRunningOn(window, "..", kWhite, lastRow);
}

void appendKeyPieces(std::vector<LinePiece>& pieces, std::string_view name, int key) {
  pieces.push_back({"[", kWhite, key});
  pieces.push_back({std::string(name), kYellow, key});
  pieces.push_back({"]", kWhite, key});
}

std::size_t piecesLength(const std::vector<LinePiece>& pieces) {
  std::size_t length = 0;
  for (const LinePiece& piece : pieces) length += piece.text.size();
  return length;
}

void writePiecesCentred(TextWindow& window, const std::vector<LinePiece>& pieces, int row) {
  const auto width = static_cast<std::size_t>(window.width());
  const std::size_t length = std::min(piecesLength(pieces), width);
  window.setCursor(static_cast<int>((width - length) / 2) + 1, row);
  writePieces(window, pieces, row);
}

std::string missingSourcesText(std::size_t count) {
  return std::to_string(count) +
         (count == 1 ? " source of the project is" : " sources of the project are") +
         " not in this directory";
}

}  // namespace corvane
