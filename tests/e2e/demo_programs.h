// Where the programs under test and their data lie (set by the build), and the names of the files
// the show reads.
#pragma once

constexpr char kWindowProgram[] = E2E_WINDOW_PROGRAM;
constexpr char kFullscreenProgram[] = E2E_FULLSCREEN_PROGRAM;
constexpr char kBuildDataFolder[] = E2E_DATA_DIR;
// A build tree configured with DEMO_SANITIZE=ON (AddressSanitizer and UndefinedBehaviorSanitizer)
// whose programs some tests run as well; "" when the build was given none.
constexpr char kSanitizedBuild[] = E2E_SANITIZED_BUILD;
constexpr char kTestFolder[] = E2E_TEST_DIR;  // the sanitizer and valgrind suppression files

constexpr char kPictureName[] = "Devil-goat.png";
constexpr char kMusicName[] = "organ.ogg";
