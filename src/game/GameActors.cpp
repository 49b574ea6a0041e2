// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameActors.h"

#include <algorithm>
#include <chrono>
#include <random>

TRandom ClockSeededRandom()
{
    auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return [engine](int n) { return std::uniform_int_distribution<int>(0, n - 1)(*engine); };
}

bool Chance(const TRandom& random, int percent)
{
    return random(100) < percent;
}

namespace {

void DrawLetters(const strikerType& word, TGameCanvas& canvas, const TGameSettings& settings,
                 bool erase)
{
    for (int i = 0; i < word.Len; ++i) {
        const bool typed = !erase && i < word.Typed;
        const TColor color = erase   ? settings.GameBgColor
                             : typed ? TypedLetterColor
                                     : settings.GameFontColor;
        canvas.DrawChar(word.X + i * settings.GameFontSize, word.Y,
                        static_cast<unsigned char>(word.Word[static_cast<std::size_t>(i)]), color,
                        typed ? settings.TypedStyle : settings.PlainStyle, settings.GameBgColor);
    }
}

} // namespace

void DrawStriker(const strikerType& word, TGameCanvas& canvas, const TGameSettings& settings)
{
    DrawLetters(word, canvas, settings, false);
}

void EraseStriker(const strikerType& word, TGameCanvas& canvas, const TGameSettings& settings)
{
    DrawLetters(word, canvas, settings, true);
}

void DropStriker(strikerType& word, TGameCanvas& canvas, const TGameSettings& settings)
{
    EraseStriker(word, canvas, settings);
    ++word.Y;
    DrawStriker(word, canvas, settings);
}

cityType::cityType(int base, const TGameSettings& settings, const TRandom& random)
    : Base(base), Rows(std::max(0, settings.Rows)), Columns(std::max(0, settings.Columns)),
      cellSize_(settings.GameFontSize),
      bricks_(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(Columns), 0)
{
    Build(random);
}

void cityType::Build(const TRandom& random)
{
    for (int row = 1; row <= Rows; ++row)
        for (int column = 1; column <= Columns; ++column)
            SetBrick(row, column, (row > 1 && Brick(row - 1, column) == 1) || Chance(random, 40));
}

void cityType::Draw(TGameCanvas& canvas) const
{
    for (int row = 1; row <= Rows; ++row)
        for (int column = 1; column <= Columns; ++column)
            if (Brick(row, column) == 1) {
                const int top = Base + (row - 1 - Rows) * cellSize_;
                const int left = (column - 1) * cellSize_;
                canvas.FillRect({left, top, left + cellSize_, top + cellSize_}, BrickColor);
            }
}

int cityType::BrickCount() const
{
    return static_cast<int>(std::count(bricks_.begin(), bricks_.end(), 1));
}

int cityType::Brick(int row, int column) const
{
    if (row < 1 || row > Rows || column < 1 || column > Columns)
        return 0;
    return bricks_[static_cast<std::size_t>((row - 1) * Columns + column - 1)];
}

void cityType::SetBrick(int row, int column, bool standing)
{
    if (row < 1 || row > Rows || column < 1 || column > Columns)
        return;
    bricks_[static_cast<std::size_t>((row - 1) * Columns + column - 1)] = standing ? 1 : 0;
}

bool cityType::AnyBrick(int row, int first, int end) const
{
    for (int column = std::max(first, 1); column < std::min(end, Columns + 1); ++column)
        if (Brick(row, column) == 1)
            return true;
    return false;
}

void cityType::RemoveBricks(int row, int first, int end)
{
    for (int column = std::max(first, 1); column < std::min(end, Columns + 1); ++column)
        SetBrick(row, column, false);
}

void EraseBricks(const cityType& city, TGameCanvas& canvas, int row, int first, int end,
                 const TGameSettings& settings)
{
    const int size = settings.GameFontSize;
    const int top = city.Base + (row - 1 - city.Rows) * size;
    canvas.FillRect({(first - 1) * size, top, (end - 1) * size, top + size}, settings.GameBgColor);
}

bulletType::bulletType(int startY, TStrikerPtr target, int cellSize)
    : Target(std::move(target)), Y(startY), X(Target->X + (Target->Len * cellSize) / 2)
{}

void StepBullet(bulletType& bullet, TGameCanvas& canvas, const TGameSettings& settings)
{
    if (bullet.Target->Y + settings.GameFontSize >= bullet.Y) {
        // The copy-mode rectangle (X, Y)-(X + 5, Y + 9) with the 3-pixel pen,
        // filled: it covers every pixel of the bullet's outline.
        const int half = BulletPenWidth / 2;
        canvas.FillRect(
            {bullet.X - half, bullet.Y - half, bullet.X + 5 + half, bullet.Y + 9 + half},
            settings.GameBgColor);
        bullet.Target->State = TStrikerState::Finished;
        bullet.Done = true;
    } else if (!bullet.Done) {
        canvas.XorFrame({bullet.X, bullet.Y, bullet.X + 4, bullet.Y + 8}, BulletPenWidth,
                        BulletColor);
        bullet.Y -= BulletRise;
        canvas.XorFrame({bullet.X, bullet.Y, bullet.X + 4, bullet.Y + 8}, BulletPenWidth,
                        BulletColor);
    }
}
