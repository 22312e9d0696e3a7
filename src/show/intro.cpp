// Building the show: picture, canvas, texture, lights, the panel, the particle pools and the
// music, in that order. Show time starts only when everything is loaded.
#include "show/intro.h"

#include <SDL/SDL_image.h>

#include <string>

#include "shell/clock.h"
#include "shell/data_path.h"
#include "shell/quiet_stderr.h"
#include "shell/shell.h"
#include "show/heap_reuse.h"
#include "show/track_check.h"

namespace {

constexpr int kPanelCells = 10;        // the panel is a 10 × 10 grid over the square −1 … 1
constexpr double kPanelCell = 0.2;     // cell size in panel units
constexpr double kPanelTexCell = 0.1;  // cell size in texture coordinates
constexpr double kPanelLeft = -1.0;

constexpr GLfloat kConstructionAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
constexpr GLfloat kConstructionDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat kConstructionPosition[4] = {5.0f, 2.0f, -10.0f, 1.0f};  // in eye coordinates

// True when the rotator can read `surface` as it is: 4-byte pixels, no palette, channels of at
// most 8 bits.
bool paintable(const SDL_Surface* surface) {
  const SDL_PixelFormat* f = surface->format;
  return f->BytesPerPixel == 4 && f->palette == nullptr && f->Rloss <= 8 && f->Gloss <= 8 &&
         f->Bloss <= 8;
}

// A copy of `surface` as 32-bit 0x00RRGGBB pixels, colour for colour; keys and alpha are ignored.
SDL_Surface* to_32_bits(SDL_Surface* surface) {
  SDL_SetColorKey(surface, 0, 0);
  SDL_SetAlpha(surface, 0, 0);
  SDL_Surface* format_source =
      SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
  if (format_source == nullptr) return nullptr;
  SDL_Surface* converted = SDL_ConvertSurface(surface, format_source->format, SDL_SWSURFACE);
  SDL_FreeSurface(format_source);
  return converted;
}

SDL_Surface* load_picture(std::string* music_path) {
  const std::vector<std::string> places = data_file_candidates(kPictureFile);
  const std::string path = first_existing(places);
  if (path.empty()) throw show_error("cannot find the picture: tried " + join_places(places));
  *music_path = path.substr(0, path.size() - std::string(kPictureFile).size()) + kMusicFile;

  SDL_Surface* loaded;
  {
    const Quiet_Stderr quiet;  // libpng's own line about a damaged file would come before ours
    loaded = IMG_Load(path.c_str());
  }
  if (loaded == nullptr) throw show_error("cannot load " + path + ": " + IMG_GetError());
  if (loaded->w <= 0 || loaded->h <= 0) throw show_error("cannot load " + path + ": empty picture");
  if (paintable(loaded)) return loaded;
  SDL_Surface* converted = to_32_bits(loaded);
  SDL_FreeSurface(loaded);
  if (converted == nullptr) throw show_error("cannot convert " + path + ": " + SDL_GetError());
  return converted;
}

// The whole track decoded into memory, or null (after one warning) when there is no sound.
Mix_Chunk* load_music(const std::string& path) {
  int rate;
  Uint16 format;
  int channels;
  if (Mix_QuerySpec(&rate, &format, &channels) == 0) return nullptr;  // already warned
  SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
  if (stream == nullptr) {
    Complain("no sound: cannot open %s: %s", path.c_str(), SDL_GetError());
    return nullptr;
  }
  Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);  // 1: the loader closes the stream
  if (chunk == nullptr) {
    Complain("no sound: cannot decode %s: %s", path.c_str(), Mix_GetError());
  } else if (!ogg_file_ends_whole(path)) {
    // It decoded up to the cut; playing a track that stops partway would pass for the real one.
    Complain("no sound: %s is cut short (it does not end like a complete Ogg stream)",
             path.c_str());
    Mix_FreeChunk(chunk);
    chunk = nullptr;
  }
  return chunk;
}

// One triangle strip of 200 vertices: for each cell, row by row, the lower and upper end of its
// right-hand edge. The left edge x = −1 is never emitted, and the strip runs on from row to row.
void compile_panel(GLuint list) {
  glNewList(list, GL_COMPILE);
  glBegin(GL_TRIANGLE_STRIP);
  for (int i = 0; i < kPanelCells; ++i) {
    for (int j = 0; j < kPanelCells; ++j) {
      glTexCoord2d(kPanelTexCell * j + kPanelTexCell, kPanelTexCell * i);
      glVertex3f(kPanelCell * j + kPanelLeft + kPanelCell, kPanelCell * i + kPanelLeft, 0);
      glTexCoord2d(kPanelTexCell * j + kPanelTexCell, kPanelTexCell * i + kPanelTexCell);
      glVertex3f(kPanelCell * j + kPanelLeft + kPanelCell, kPanelCell * i + kPanelLeft + kPanelCell,
                 0);
    }
  }
  glEnd();
  glEndList();
}

}  // namespace

intro::intro() : particles1(), particles2(), particles3(), particles4() {
  keep_freed_memory();
  std::string music_path;
  picture = load_picture(&music_path);
  canvas = SDL_CreateRGBSurface(0, kCanvasSize, kCanvasSize, 32, 0, 0, 0, 0);
  if (canvas == nullptr) {
    SDL_FreeSurface(picture);
    throw show_error(std::string("cannot create the canvas: ") + SDL_GetError());
  }
  last_clear = 0;
  glClearColor(0, 0, 0, 0);

  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

  glLightfv(GL_LIGHT1, GL_AMBIENT, kConstructionAmbient);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, kConstructionDiffuse);
  glLightfv(GL_LIGHT1, GL_POSITION, kConstructionPosition);
  glLightfv(GL_LIGHT2, GL_AMBIENT, kConstructionAmbient);
  glEnable(GL_LIGHT1);
  glEnable(GL_LIGHT2);

  grid_list = glGenLists(1);
  compile_panel(grid_list);

  {
    const GravityParticle prototype;  // compiles the particle quad; spent, so each copy respawns
    for (auto* pool : {&particles1, &particles2, &particles3, &particles4})
      pool->reserve(kPoolSize);
    for (int i = 0; i < kPoolSize; ++i) {
      particles1.push_back(prototype);
      particles2.push_back(prototype);
      particles3.push_back(prototype);
      particles4.push_back(prototype);
    }
  }

  music = load_music(music_path);
  if (music != nullptr) {
    const int channel = Mix_PlayChannelTimed(-1, music, 0, -1);
    if (channel < 0) {
      Complain("no sound: cannot play %s: %s", music_path.c_str(), Mix_GetError());
    } else {
      Mix_Volume(channel, kMusicVolume);
    }
  }
  start_ticks = demo_clock.Ticks();
}

// Only the pools are freed (in reverse order); surfaces, texture, lists and music last until the
// process ends, after SDL_Quit has closed the display and the audio device.
intro::~intro() = default;
