#pragma once
// All segments of the device window and the Vid_ operations that show and hide them in groups.
#include <array>
#include <string_view>
#include <vector>

#include "core/display/segment_catalogue.h"
#include "core/display/segment_groups.h"
#include "core/picture.h"

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
    bool operator==(const Rect&) const = default;
};

// The game menu of full-screen mode: its button folded, and the panel unfolded (the title band
// and fourteen rows of 32 pixels).
inline constexpr Rect kGameMenuButton{0, 0, 36, 32};
inline constexpr Rect kGameMenuPanel{0, 0, 256, 512};

struct Segment {
    std::string_view name;
    Rect bounds;
    Picture picture;  // may be empty
    bool visible = false;
    bool transparent = false;
};

class SegmentDisplay {
  public:
    SegmentDisplay();

    const Segment& segment(SegmentId id) const { return segments_[id]; }
    const std::array<Segment, kSegmentCount>& segments() const { return segments_; }

    // Primitives.
    void setVisible(SegmentId id, bool visible);
    bool isVisible(SegmentId id) const { return segments_[id].visible; }
    void copyPicture(SegmentId destination, SegmentId source);  // shares the source's picture
    void clearPicture(SegmentId id);
    void setPicture(SegmentId id, Picture picture);
    void setBounds(SegmentId id, Rect bounds);

    // Topmost shown segment whose rectangle contains the point; -1 if none.
    SegmentId hitTest(int x, int y) const;

    // Areas whose look changed since the last call (for repainting only what changed).
    std::vector<Rect> takeDamage();
    bool hasDamage() const { return !damage_.empty(); }

    // Group operations.
    void Vid_Show_All(bool show);
    void Vid_Show_All_Hero(bool show);
    void Vid_Show_All_Items(bool show);
    void Vid_Show_All_Flames(bool show);
    void Vid_Show_All_Character_2(bool show);
    void Vid_Show_Panel_Miss(int count);
    void Vid_Show_Panel_Score(int score, bool show);
    void Vid_Show_Hero(int position, int phase, bool show);
    void Vid_Show_Items(const std::array<int, 3>& itemPos);

    // Conveniences for the game rules, 1-based like the rules themselves.
    SegmentId hero(int p, groups::HeroPart part) const { return groups::HeroSegments[p - 1][part]; }
    SegmentId item(int r, int k) const { return groups::ItemSegments[r - 1][k - 1]; }
    SegmentId flame(int f, int k) const { return groups::FlameSegments[f - 1][k - 1]; }
    void setDigit(int place, int digit);  // digit -1 = empty picture

    // What the four digit places show, so that a skin reload can show the same digits with the
    // new glyphs: 0..9 a glyph, kNoDigit an empty shown place, kSkinDigit a place that takes
    // whatever picture the skin gives it (its own picture, or empty and hidden).
    static constexpr int kNoDigit = -1;
    static constexpr int kSkinDigit = -2;
    std::array<int, 4> digitsShown() const;
    void showDigits(const std::array<int, 4>& digits);

  private:
    void damage(const Rect& r) {
        if (r.width > 0 && r.height > 0) damage_.push_back(r);
    }

    std::array<Segment, kSegmentCount> segments_;
    std::vector<Rect> damage_;
};
