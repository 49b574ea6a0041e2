// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Colors.h"
#include "game/GameSettings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A rectangle of the play field in pixels; Right and Bottom lie just outside.
struct TGameRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TGameRect&) const = default;
};

// What the game draws on; the window implements it on the play field. There
// is no model of the picture: erasing is drawing in the background colour.
class TGameCanvas
{
public:
    virtual ~TGameCanvas() = default;

    // One character of the game font, its cell filled with background first;
    // (x, y) is the cell's top left corner.
    virtual void DrawChar(int x, int y, unsigned char ch, TColor color, const TFontStyles& style,
                          TColor background) = 0;
    virtual void FillRect(const TGameRect& rect, TColor color) = 0;
    // The outline of rect with a pen of that width centred on its edges (the
    // right and bottom edges run along Right - 1 and Bottom - 1), combined
    // with the picture by exclusive-or, so that drawing it twice removes it.
    virtual void XorFrame(const TGameRect& rect, int penWidth, TColor color) = 0;
};

// A uniformly drawn integer from 0 to n - 1 (n >= 1).
using TRandom = std::function<int(int n)>;
// A generator seeded from the clock.
TRandom ClockSeededRandom();
// True with the given chance in percent.
bool Chance(const TRandom& random, int percent);

constexpr TColor TypedLetterColor = clRed;
constexpr TColor BrickColor = RGBColor(128, 128, 0);
// Pure red combined by exclusive-or with the grey 170, 170, 170.
constexpr TColor BulletColor = RGBColor(85, 170, 170);
constexpr int BulletPenWidth = 3;
constexpr int BulletRise = 6; // pixels per step

enum class TStrikerState
{
    Falling,
    Shot,     // completely typed, its bullet on the way
    Finished, // hit or lost, to be erased and removed
};

// A falling word.
struct strikerType
{
    std::string Word;
    int Len = 0;
    int X = 0; // left edge of the first character cell
    int Y = 0; // top edge
    int Column = 1;
    int Speed = 2;  // 1..3
    int Typed = -1; // leading characters typed, or -1 while not being typed
    TStrikerState State = TStrikerState::Falling;
};

// Bullets keep the word they fly to alive, so a word that leaves the field
// before its bullet arrives takes nobody's memory with it.
using TStrikerPtr = std::shared_ptr<strikerType>;

void DrawStriker(const strikerType& word, TGameCanvas& canvas, const TGameSettings& settings);
void EraseStriker(const strikerType& word, TGameCanvas& canvas, const TGameSettings& settings);
// One pixel down.
void DropStriker(strikerType& word, TGameCanvas& canvas, const TGameSettings& settings);

// The city of bricks at the bottom of the field. Its grid has exactly the
// rows and columns of the settings it was built with.
class cityType
{
public:
    cityType(int base, const TGameSettings& settings, const TRandom& random);

    // Row 1 at random; below it a brick under every brick, and at random
    // elsewhere, so that no brick floats.
    void Build(const TRandom& random);
    void Draw(TGameCanvas& canvas) const;
    int BrickCount() const;

    // 1 where a brick stands, 0 elsewhere and outside the grid (1-based).
    int Brick(int row, int column) const;
    void SetBrick(int row, int column, bool standing);
    // Whether a brick stands in row under any of columns first .. end - 1.
    bool AnyBrick(int row, int first, int end) const;
    void RemoveBricks(int row, int first, int end);

    int Base = 0; // y of the field's bottom edge
    int Rows = 0;
    int Columns = 0;

private:
    int cellSize_;
    std::vector<unsigned char> bricks_;
};

// Clears on screen the cells of row from column first up to, not including, end.
void EraseBricks(const cityType& city, TGameCanvas& canvas, int row, int first, int end,
                 const TGameSettings& settings);

// A bullet flying up to a word.
struct bulletType
{
    bulletType(int startY, TStrikerPtr target, int cellSize);

    TStrikerPtr Target;
    int Y = 0; // top
    int X = 0; // left
    bool Done = false;
};

// One step of flight: 6 pixels up, or, once the bullet has reached the word's
// bottom edge, the bullet erased and the word Finished.
void StepBullet(bulletType& bullet, TGameCanvas& canvas, const TGameSettings& settings);
