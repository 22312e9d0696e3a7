// The show: one object owns every resource of the demo (picture, canvas, texture, panel display
// list, particle pools, music) and carries the per-frame state of the timeline.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_opengl.h>

#include <stdexcept>
#include <vector>

#include "particles/gravity_particle.h"

class clip_transform;

// The show could not be built (a missing picture, no memory for the canvas).
class show_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr int kCanvasSize = 512;         // the canvas is 512 × 512 pixels of 32 bits
constexpr int kPoolSize = 1500;          // particles in each of the four fountains
constexpr int kMusicVolume = 32;         // a quarter of the mixer's 128
constexpr Sint32 kShowTimeLeadMs = 500;  // show time starts at half a second

constexpr char kPictureFile[] = "Devil-goat.png";
constexpr char kMusicFile[] = "organ.ogg";

class intro {
 public:
  Sint32 elapsed;        // show time in ms
  Sint32 phase;          // position in the two-second laser cycle
  GLuint texture;        // the texture that receives the canvas
  SDL_Surface* picture;  // the loaded picture, 4 bytes per pixel
  Uint32 line_color;     // canvas pixel value the line rasteriser adds
  Sint32 last_clear;     // show time of the last canvas clear
  SDL_Surface* canvas;   // painted in software every frame
  GLuint grid_list;      // the panel display list
  Uint32 start_ticks;    // tick count at which the show started
  Mix_Chunk* music;      // the whole track, decoded; null when there is no sound
  std::vector<GravityParticle> particles1;
  std::vector<GravityParticle> particles2;
  std::vector<GravityParticle> particles3;
  std::vector<GravityParticle> particles4;

  // Loads and builds everything and starts the music; show time starts at the end.
  // Throws show_error when the picture or the canvas cannot be had.
  intro();
  ~intro();
  intro(const intro&) = delete;
  intro& operator=(const intro&) = delete;

  // One frame of the show at the clock's current time.
  void run();
  // One frame of the show at exactly `show_time` ms.
  void run_at(Sint32 show_time);

  void create_scene1();
  void create_scene2();
  void create_scene3();
  void create_scene4();
  void box();

  void rotator(SDL_Surface* source, float angle);
  void razer();
  void draw_line(int x1, int y1, int x2, int y2);

 private:
  void paint_canvas();
  void upload_canvas(GLenum format);
  void panel_pair();
  void first_panel();
  void second_panel();
  void wall_pair(const clip_transform& wall, int column, int row, bool last);
  void pulled_in_pair();
  void run_particle_window();
};
