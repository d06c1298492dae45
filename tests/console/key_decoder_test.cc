#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/mouse_event.h"
#include "ui/read_key.h"

namespace corvane {
namespace {

// The codes readKey would make of everything decoded so far: a 0 and the
// scan code after it become one negative code.
std::vector<int> drain(KeyDecoder& decoder) {
  std::vector<int> codes;
  while (decoder.hasKey()) {
    const int key = decoder.takeKey();
    codes.push_back(key == 0 ? -decoder.takeKey() : key);
  }
  return codes;
}

std::vector<int> decode(std::string_view bytes) {
  KeyDecoder decoder;
  decoder.feed(bytes);
  decoder.inputPaused();
  return drain(decoder);
}

using Codes = std::vector<int>;

TEST(KeyDecoder, CursorKeysInCsiAndSs3Forms) {
  EXPECT_EQ(decode("\x1b[A\x1b[B\x1b[C\x1b[D"), (Codes{kKeyUp, kKeyDown, kKeyRight, kKeyLeft}));
  EXPECT_EQ(decode("\x1bOA\x1bOB\x1bOC\x1bOD"), (Codes{kKeyUp, kKeyDown, kKeyRight, kKeyLeft}));
  EXPECT_EQ(decode("\x1b[H\x1b[F\x1bOH\x1bOF"), (Codes{kKeyHome, kKeyEnd, kKeyHome, kKeyEnd}));
}

TEST(KeyDecoder, ModifiedKeysCountAsThePlainKey) {
  EXPECT_EQ(decode("\x1b[1;5A\x1b[1;2D\x1b[1;3H\x1b[3;5~\x1bO5C"),
            (Codes{kKeyUp, kKeyLeft, kKeyHome, kKeyDelete, kKeyRight}));
}

TEST(KeyDecoder, EditingKeysInTildeForm) {
  EXPECT_EQ(decode("\x1b[1~\x1b[7~\x1b[4~\x1b[8~"), (Codes{kKeyHome, kKeyHome, kKeyEnd, kKeyEnd}));
  EXPECT_EQ(decode("\x1b[2~\x1b[3~\x1b[5~\x1b[6~"),
            (Codes{kKeyInsert, kKeyDelete, kKeyPageUp, kKeyPageDown}));
}

TEST(KeyDecoder, FunctionKeysInEveryDialect) {
  const Codes f1to4{-59, -60, -61, -62};
  EXPECT_EQ(decode("\x1bOP\x1bOQ\x1bOR\x1bOS"), f1to4);
  EXPECT_EQ(decode("\x1b[11~\x1b[12~\x1b[13~\x1b[14~"), f1to4);
  EXPECT_EQ(decode("\x1b[1;2P\x1b[1;5Q"), (Codes{-59, -60}));
  EXPECT_EQ(decode("\x1b[15~\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~"),
            (Codes{-63, -64, -65, -66, -67, -68}));
  EXPECT_EQ(decode("\x1b[23~\x1b[24~"), (Codes{-133, -134}));
  // The Linux console.
  EXPECT_EQ(decode("\x1b[[A\x1b[[B\x1b[[C\x1b[[D\x1b[[E"), (Codes{-59, -60, -61, -62, -63}));
}

TEST(KeyDecoder, BackspaceAndEnterVariants) {
  EXPECT_EQ(decode("\x7f\x08"), (Codes{kKeyBackspace, kKeyBackspace}));
  EXPECT_EQ(decode("\r"), (Codes{kKeyEnter}));
  EXPECT_EQ(decode("\n"), (Codes{kKeyEnter}));
  EXPECT_EQ(decode("\x1bOM"), (Codes{kKeyEnter}));
  // A line end of CR LF is one Enter; two CRs or two LFs are two.
  EXPECT_EQ(decode("a\r\nb"), (Codes{'a', kKeyEnter, 'b'}));
  EXPECT_EQ(decode("\r\r\n\n"), (Codes{kKeyEnter, kKeyEnter, kKeyEnter}));
  // Typed apart, CR and LF are two presses.
  KeyDecoder decoder;
  decoder.feed("\r");
  decoder.inputPaused();
  decoder.feed("\n");
  EXPECT_EQ(drain(decoder), (Codes{kKeyEnter, kKeyEnter}));
}

TEST(KeyDecoder, LoneEscapeIsTheEscKey) {
  EXPECT_EQ(decode("\x1b"), (Codes{kKeyEsc}));
  EXPECT_EQ(decode("\x1b\x1b[A"), (Codes{kKeyEsc, kKeyUp}));
}

TEST(KeyDecoder, EscapeFollowedAtOnceByACharacterIsOneAltChord) {
  // Alt with a letter, Enter, Backspace and a UTF-8 character; a second Esc
  // is the Esc key and starts afresh.
  EXPECT_EQ(decode("\x1bx\x1bN\x1b\r\x1b\x7f\x1b\xc3\xb3\x1b\x1bq"),
            (Codes{kKeyAltChord, kKeyAltChord, kKeyAltChord, kKeyAltChord, kKeyAltChord,
                   kKeyEsc, kKeyAltChord}));
  // In a script every byte is meant: Esc, then the key.
  KeyDecoder script(KeyDecoder::Source::kScript);
  script.feed("\x1bx\x1b\r\x1b[A");
  script.inputPaused();
  EXPECT_EQ(drain(script), (Codes{kKeyEsc, 'x', kKeyEsc, kKeyEnter, kKeyUp}));
}

TEST(KeyDecoder, EscapeWaitsForTheNextByteOrAPause) {
  KeyDecoder decoder;
  decoder.feed("\x1b");
  EXPECT_FALSE(decoder.hasKey());
  EXPECT_TRUE(decoder.midSequence());
  decoder.feed("[");
  EXPECT_TRUE(decoder.midSequence());
  decoder.feed("A");
  EXPECT_FALSE(decoder.midSequence());
  EXPECT_EQ(drain(decoder), (Codes{kKeyUp}));

  decoder.feed("\x1b");
  decoder.inputPaused();
  EXPECT_EQ(drain(decoder), (Codes{kKeyEsc}));
  // A sequence cut off by the pause is dropped, not typed.
  decoder.feed("\x1b[1;");
  decoder.inputPaused();
  decoder.feed("a");
  EXPECT_EQ(drain(decoder), (Codes{'a'}));
}

TEST(KeyDecoder, UnknownSequencesAreSwallowedWhole) {
  EXPECT_EQ(decode("\x1b[99~x\x1b[Zy\x1b[?1;2cz\x1b[<0;3;4Mw\x1bOzv"),
            (Codes{'x', 'y', 'z', 'w', 'v'}));
  // An overlong parameter list still ends with its final byte.
  EXPECT_EQ(decode("\x1b[" + std::string(100, '1') + "~q"), (Codes{'q'}));
  // A control byte inside a sequence cuts it off and counts as a key; so
  // does an Esc, which starts the next sequence.
  EXPECT_EQ(decode("\x1b[1\r"), (Codes{kKeyEnter}));
  EXPECT_EQ(decode("\x1b[[\r\x1b[[\x1b[A\x1bO\x1b[B"), (Codes{kKeyEnter, kKeyUp, kKeyDown}));
}

TEST(KeyDecoder, Utf8CharactersAreOneKeyThatIsNoScanCode) {
  // The second bytes of these once came out as Right, Delete and End.
  EXPECT_EQ(decode("\xc3\xb3" "1X\xc3\xad\xc3\xb1\xe2\x82\xac\xf0\x9f\x98\x80"),
            (Codes{kKeyNonAscii, '1', 'X', kKeyNonAscii, kKeyNonAscii, kKeyNonAscii,
                   kKeyNonAscii}));
  // Bytes that form no character are dropped: a stray continuation, C0, FF,
  // an overlong form, a surrogate, a character cut short by another key or
  // by the end.
  EXPECT_EQ(decode("\x80" "a\xc0\xaf" "b\xff\xe0\x80\x80" "c\xed\xa0\x80" "d\xe2\x82" "e\xc3"),
            (Codes{'a', 'b', 'c', 'd', 'e'}));
  // A character split between reads waits for its rest; a pause drops it.
  KeyDecoder decoder;
  decoder.feed("\xe2");
  EXPECT_TRUE(decoder.midSequence());
  decoder.feed("\x82");
  EXPECT_FALSE(decoder.hasKey());
  decoder.feed("\xac");
  EXPECT_EQ(drain(decoder), (Codes{kKeyNonAscii}));
  decoder.feed("\xc3");
  decoder.inputPaused();
  decoder.feed("\xb3");
  EXPECT_EQ(drain(decoder), (Codes{}));
}

TEST(KeyDecoder, CharactersAndControlBytes) {
  EXPECT_EQ(decode("aZ ~\t"), (Codes{'a', 'Z', ' ', '~', '\t'}));
  // NUL (Ctrl+Space) would pose as the start of a scan code.
  EXPECT_EQ(decode(std::string("a\0b", 3)), (Codes{'a', 'b'}));
  // The keypad in application mode types its characters.
  EXPECT_EQ(decode("\x1bOq\x1bOk\x1bOn"), (Codes{'1', '+', '.'}));
}

// Each key as text, a pasted one followed by "+".
std::string marked(KeyDecoder& decoder) {
  std::string keys;
  while (decoder.hasKey()) {
    const bool pasted = decoder.nextKeyPasted();
    keys += static_cast<char>(decoder.takeKey());
    if (pasted) keys += '+';
  }
  return keys;
}

TEST(KeyDecoder, APasteGivesItsPrintableCharactersMarked) {
  KeyDecoder decoder;
  decoder.feed("x\x1b[200~ab\r\n\tc\x1b[A\x1b[201~y");
  EXPECT_EQ(marked(decoder), "xa+b+c+y");

  // Whatever the paste ends with, its end marker ends it.
  decoder.feed("\x1b[200~h\r\x1b\x1b[201~k\x1b[200~ab\x1b[[\x1b[201~m");
  EXPECT_FALSE(decoder.inPaste());
  EXPECT_EQ(marked(decoder), "h+ka+b+m");
}

TEST(KeyDecoder, PasteEndMaySpanFeeds) {
  KeyDecoder decoder;
  decoder.feed("\x1b[20");
  decoder.feed("0~a\x1b");
  decoder.feed("[201");
  decoder.feed("~b");
  EXPECT_EQ(marked(decoder), "a+b");
}

TEST(KeyDecoder, APasteThatStallsEndsAndALongOneTypesNoMoreThanTheCap) {
  KeyDecoder decoder;
  decoder.feed("\x1b[200~ab");
  EXPECT_TRUE(decoder.inPaste());
  decoder.pasteStalled();
  EXPECT_FALSE(decoder.inPaste());
  decoder.feed("\r\x1b");
  decoder.inputPaused();
  EXPECT_EQ(drain(decoder), (Codes{'a', 'b', kKeyEnter, kKeyEsc}));

  // Past the cap a paste is dropped up to its end; the line ends of a file
  // pasted by mistake never become Enter.
  decoder.feed("\x1b[200~" + std::string(9000, 'x') + "\r\x1b[201~y");
  std::string typed;
  while (decoder.hasKey()) typed += static_cast<char>(decoder.takeKey());
  EXPECT_EQ(typed, std::string(8192, 'x') + "y");
}

TEST(KeyDecoder, EmptyQueueGivesEsc) {
  KeyDecoder decoder;
  EXPECT_FALSE(decoder.hasKey());
  EXPECT_EQ(decoder.takeKey(), kKeyEsc);
}

int press(int column, int row, int button = MouseEvent::kLeft) {
  MouseEvent event;
  event.button = button;
  event.column = column;
  event.row = row;
  return mouseCode(event);
}

int wheel(MouseEvent::Action turn, int column, int row) {
  MouseEvent event;
  event.action = turn;
  event.column = column;
  event.row = row;
  return mouseCode(event);
}

std::vector<int> decodeWithMouse(std::string_view bytes, KeyDecoder::Mouse mouse) {
  KeyDecoder decoder;
  decoder.setMouse(mouse);
  decoder.feed(bytes);
  decoder.inputPaused();
  return drain(decoder);
}

TEST(KeyDecoder, MouseReportsBecomePressesAndWheelTurns) {
  const struct {
    std::string bytes;
    Codes codes;
  } cases[] = {
      {"\x1b[<0;5;7M", {press(5, 7)}},
      {"\x1b[<0;5;7m", {}},  // a release
      {"\x1b[<2;1;1M\x1b[<1;2;2M",
       {press(1, 1, MouseEvent::kRight), press(2, 2, MouseEvent::kMiddle)}},
      {"\x1b[<20;3;4M", {press(3, 4)}},  // Shift and Ctrl held
      {"\x1b[<64;9;8M\x1b[<65;9;8M",
       {wheel(MouseEvent::Action::kWheelUp, 9, 8), wheel(MouseEvent::Action::kWheelDown, 9, 8)}},
      {"\x1b[<32;5;7M\x1b[<66;5;7M\x1b[<128;5;7M", {}},  // a drag, the sideways wheel, button 8
      // Positions past column 95 and row 25, and past what the old form
      // can carry.
      {"\x1b[<0;96;26M\x1b[<0;300;120M", {press(96, 26), press(300, 120)}},
      {"\x1b[<0;0;5M\x1b[<0;5M\x1b[<0;5;6;7M\x1b[<0;;5M", {}},  // no position, too few, too many
      {"\x1b[<0;123456789012345;5M", {}},  // longer than any report: cut, so dropped
      // The old form: three bytes of 32 plus the button, column and row;
      // column 95 is byte 127 and those past it bytes above 127.
      {"\x1b[M !!", {press(1, 1)}},
      {"\x1b[M \x7f\x39\x1b[M \x84\x3a", {press(95, 25), press(100, 26)}},
      {"\x1b[M#!!\x1b[M`!!", {wheel(MouseEvent::Action::kWheelUp, 1, 1)}},  // a release is dropped
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.bytes.substr(1));
    // The key after a report is read as usual: the report was taken whole.
    Codes expected = test.codes;
    expected.push_back('z');
    EXPECT_EQ(decodeWithMouse(test.bytes + "z", KeyDecoder::Mouse::kOn), expected);
    // Muted, every report is read whole and dropped.
    EXPECT_EQ(decodeWithMouse(test.bytes + "z", KeyDecoder::Mouse::kMuted), (Codes{'z'}));
  }
}

TEST(KeyDecoder, AKeyPressWaitingBehindClicksIsFoundAndTheClicksDropped) {
  KeyDecoder decoder;
  decoder.setMouse(KeyDecoder::Mouse::kOn);
  decoder.feed("\x1b[<0;5;7M");
  EXPECT_TRUE(decoder.hasKey());
  EXPECT_FALSE(decoder.hasKeyPress());
  EXPECT_FALSE(decoder.hasKey());
  decoder.feed("\x1b[<0;5;7Ma\x1b[<0;5;7M");
  EXPECT_TRUE(decoder.hasKeyPress());
  EXPECT_EQ(drain(decoder), (Codes{'a', press(5, 7)}));
}

TEST(MouseEvent, CodesCarryTheEventAndAreNoOtherKey) {
  const MouseEvent farthest{MouseEvent::Action::kWheelDown, MouseEvent::kRight,
                            kMouseCoordinateLimit, kMouseCoordinateLimit};
  EXPECT_EQ(mouseEventOf(mouseCode(farthest)), farthest);
  EXPECT_TRUE(isWholeKeyCode(mouseCode(farthest)));
  // Positions past the limit are kept as the limit: still off the screen.
  EXPECT_EQ(mouseEventOf(press(kMouseCoordinateLimit + 9, 99999)),
            mouseEventOf(press(kMouseCoordinateLimit, kMouseCoordinateLimit)));
  for (int key : {kKeyNonAscii, kKeyAltChord, -0xFFFF, -1, 0, 255})
    EXPECT_FALSE(isMouseCode(key)) << key;
}

}  // namespace
}  // namespace corvane
