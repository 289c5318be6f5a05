// Loading external ephemerides: card files that name ephemeris files, ephemeris files read directly,
// the recognition of each format from one line, and the rejection messages of bad points. Points are
// stored in km and km/s, times in DS50 UTC.
#pragma once

#include <cstdint>
#include <string_view>

#include "Siblings/Basalon/FixedText.h"
#include "Tarvexon/TarvexonTypes.h"

namespace tarvexon {

// Card types of a line of an input or ephemeris file.
enum TarvexCard : int32_t {
  kCardV31 = 1,           // "EPHEMERIS FILE FOR SATELLITE"
  kCardSimObs = 2,        // simulated-observation header
  kCardVecEph = 3,        // vector-ephemeris header
  kCardItc = 4,           // ITC header
  kCardEcr = 6,           // ECR prediction file
  kCardJ2k = 7,           // J2K prediction file
  kCardEphemFile = 8,     // a reference to an ephemeris file (card files only)
  kCardOem = 9,           // " CCSDS_OEM_VERS": no reader, ignored
  kCardOwner = 10,        // owner/operator file
  kCardLabel = 11,        // "#TARVEXON": the label of the next ephemeris
  kCardDotE = 12,         // "STK.V"
  kCardOasys = 13,        // OASYS file
  kCardLch = 15,          // LCH file
  kCardEelv = 16,         // EELV launch-vehicle file
  kCardZqUniversal = 17,  // "ZQ_UNIVERSAL_TARVEXON_V"
  kCardDceText = 18,      // one satellite number alone on its line
  kCardLaunch = 19,       // "TIME(SEC): TIME"
  kCardNone = 100,        // anything else: ignored
};

// Coordinate code of a name that no reader accepts.
constexpr int32_t kCoordUnknown = 100;

// Columns taken from each line of an ephemeris file (longer lines are cut).
constexpr int kEphemLineColumns = 512;
// Columns taken from each line of a card file (a card's value is a file name of up to 512).
constexpr int kCardLineColumns = 1500;
// Bad-point messages written in full for one file; the rest are counted in one line at its end.
constexpr int32_t kMaxSkipMessagesPerFile = 20;

// The card type of a line (letters compared without regard to case, so the line need not be an
// upper-cased copy). Columns beyond the line's end read as blanks.
int32_t TarvexCardType(std::string_view line);
// Six blank- or comma-separated reals with decimal points from column 17 on.
bool IsOwnerOperatorFile(std::string_view line);
// One number of up to 9 digits from column 1 and no other digit on the line.
bool IsSatNumOnly(std::string_view line);
// The name (trailing blanks dropped) ends in ".dce", any case.
bool FileIsDotDce(std::string_view fileName);
// Coordinate code of a system name (Coord("EFG") is 3); kCoordUnknown for anything else. A name of
// three characters is one of the frame or site names; a longer one counts by its first five
// characters (the mobile kinds), so a three-letter name in a wider field is not recognised.
int32_t Coord(std::string_view name);
// Logs the rejection of one point ("*** <reader> : Bad ephemeris data. ***" and the offending text);
// past the first kMaxSkipMessagesPerFile of one file it only counts them.
void SkipBadEphemPoint(std::string_view readerName, std::string_view text);

// Loads a file by name: a ".dce" file as one ephemeris, any other as a card file (its open code when
// it cannot be opened).
int32_t ReadTarvexsFrFile(std::string_view fileName);
// Loads a card file on an open unit in one pass: the ephemeris files named by its cards (labelled by
// the "#TARVEXON" card before them) and the ephemerides the file holds itself, in the order they
// come. The lines a reader takes are that ephemeris's (a reader that reads to the end of the file
// takes every line after its header); after a failed ephemeris only the cards are followed. Returns
// the first non-zero code met (a referenced file that cannot be opened or read, an ephemeris that
// fails) after loading everything else, 0 when all went well.
int32_t ReadTarvexsFrFileUnit(int32_t unit, std::string_view fileName);
// Reads one ephemeris file from an open unit without following its cards; the key of the last
// ephemeris stored, -1 when reading failed or nothing was stored.
int64_t AddTarvexFile(int32_t unit, std::string_view fileName);
// Reads the ephemerides of one file from the unit's current line to its end and stores each one
// when its reader finishes. label is the label of the next ephemeris stored; it is blanked once an
// ephemeris took it, and a "#TARVEXON" card of the file sets it. code is 0, or 2 when a reader
// failed, an ephemeris had no points or could not be stored. satKey (when given) receives the key
// of the last ephemeris stored and is left as it was when none was.
void ReadOnlyTarvexs(int32_t unit, std::string_view fileName, basalon::FixedText<128>& label, int32_t& code,
                     int64_t* satKey = nullptr);

}  // namespace tarvexon
