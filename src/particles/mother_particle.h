// A single particle drawn as a small flat square: colour, a life that burns down once per frame
// and doubles as alpha, and a position, velocity and acceleration advanced once per frame.
//
// A particle is a plain value: copies share the display list `List` that holds the quad, and
// destroying one releases nothing.
#pragma once

#include <SDL/SDL_opengl.h>

class MotherParticle {
 public:
  GLuint List;             // display list holding the particle quad, shared by all copies
  float Color[3];          // red, green, blue
  float StartLocation[3];  // where LocationInit puts the particle
  float Location[3];
  float Speed[3];  // added to Location once per Run
  float Acc[3];    // added to Speed once per Run
  float Life;      // zero or less means spent; also the alpha of the colour
  float BurnRate;  // taken from Life once per Run

  // Compiles the particle quad under a new display-list name. Needs a current OpenGL context.
  MotherParticle();

  void LocationInit();
  void SpeedInit();  // six rand() draws: sign and magnitude of x, then of y, then of z
  void AccInit();
  void ColorBurnInit();  // three rand() draws: red, green, blue
  void Burn();
  void AddAcceleration();
  void AddVelocity();
  void Draw();
  void Run();  // one frame: respawn if spent, then burn, move and draw
};

// Half the side of the particle quad, before Draw scales it.
constexpr float kParticleQuadHalfSide = 0.1f;
// Draw scales the quad by this, making it 0.016 units wide.
constexpr float kParticleScale = 0.08f;
// Draw places the particle this far behind its Location.
constexpr float kParticleDepth = 4.0f;
