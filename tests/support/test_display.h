// A real X display and OpenGL context for the tests that draw, opened exactly as the programs open
// theirs (the test script starts its own X server), plus small readers of the GL state.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_opengl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

// Opens the 1024 × 768 window, the (dummy) audio device and the fixed GL state once per test
// program; later calls do nothing. Fails the calling test when there is no display.
void open_test_display();

// A test suite whose tests all run inside that display.
class display_test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { open_test_display(); }
  void SetUp() override {
    if (!display_open()) GTEST_SKIP() << "no display";
  }
  static bool display_open();
};

std::array<GLfloat, 16> modelview_matrix();
std::array<GLfloat, 4> current_color();
std::array<GLfloat, 3> current_normal();
std::array<GLfloat, 4> light_vector(GLenum light, GLenum parameter);

// The colour buffer that the next swap would show, as RGB bytes, bottom row first.
std::vector<Uint8> read_frame();
