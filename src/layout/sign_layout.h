#pragma once
// How a text is set as a sign: bent onto a circle, turned, mirrored, slanted, stretched, fitted
// into a box and given a frame with mounting holes. Every field's default leaves the text as
// the layout placed it, so a job that asks for none of this keeps its exact output.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kerfline {

/// Which way the mirror flips the text.
enum class MirrorAxis { None, X, Y };
/// Which half of the circle the text runs along.
enum class ArcSide { Top, Bottom };
/// Which point of each line sits at the arc's anchor angle.
enum class ArcAlign { Left, Center, Right };
/// How a letter follows the circle.
enum class BendMode {
  Rigid,  ///< each letter kept whole, turned to the tangent at the middle of its advance
  Warp,   ///< every point bent: X along the arc, Y along the radius
};
/// Where the text sits in a fit box when one direction has room to spare.
enum class BoxAnchor {
  TopLeft, Top, TopRight, Left, Center, Right, BottomLeft, Bottom, BottomRight
};
/// The frame cut around the text.
enum class FrameShape {
  None,
  Rect,     ///< a rectangle
  Rounded,  ///< a rectangle with round corners of SignLayout::frameSize
  Ellipse,  ///< an ellipse
  Outline,  ///< the letters welded and grown by SignLayout::frameSize
};

/// The choices' names on the command line and in the settings file.
inline constexpr std::pair<std::string_view, MirrorAxis> kMirrorNames[] = {
    {"none", MirrorAxis::None}, {"x", MirrorAxis::X}, {"y", MirrorAxis::Y}};
inline constexpr std::pair<std::string_view, ArcSide> kArcSideNames[] = {
    {"top", ArcSide::Top}, {"bottom", ArcSide::Bottom}};
inline constexpr std::pair<std::string_view, ArcAlign> kArcAlignNames[] = {
    {"center", ArcAlign::Center}, {"left", ArcAlign::Left}, {"right", ArcAlign::Right}};
inline constexpr std::pair<std::string_view, BendMode> kBendModeNames[] = {
    {"rigid", BendMode::Rigid}, {"warp", BendMode::Warp}};
inline constexpr std::pair<std::string_view, BoxAnchor> kBoxAnchorNames[] = {
    {"center", BoxAnchor::Center},         {"top-left", BoxAnchor::TopLeft},
    {"top", BoxAnchor::Top},               {"top-right", BoxAnchor::TopRight},
    {"left", BoxAnchor::Left},             {"right", BoxAnchor::Right},
    {"bottom-left", BoxAnchor::BottomLeft}, {"bottom", BoxAnchor::Bottom},
    {"bottom-right", BoxAnchor::BottomRight}};

/// The sign's layout, in drawing units and degrees. The anchor every transform turns about is
/// the drawing's origin: the start of the first line's baseline for straight text, the centre
/// of the circle for text on a circle.
/// How far, in drawing units, a sign's own chords may stray where no curve tolerance asks for
/// less: the chords of a path's curves, a warped edge from its true bend, a frame's and a hole's
/// round parts. A tenth of the finest kerf a field offers is invisible in any cut.
inline constexpr double kSignChordTolerance = 0.001;

struct SignLayout {
  double rotate = 0;                ///< degrees counter-clockwise, after any bending
  MirrorAxis mirror = MirrorAxis::None;  ///< X: left and right swap (X -> -X); Y: up and down
  double slant = 0;                 ///< degrees the letters lean right (before any bending)
  double stretchX = 1;              ///< factor along the lines (before any bending)

  std::optional<double> arcRadius;  ///< set: the text on a circle; the first baseline's radius
  ArcSide arcSide = ArcSide::Top;
  ArcAlign arcAlign = ArcAlign::Center;
  /// Direction of the line's anchor from the centre, degrees clockwise from straight up;
  /// unset: straight up on the top side, straight down on the bottom side.
  std::optional<double> arcAngle;
  BendMode bend = BendMode::Rigid;       ///< on a circle or a path

  /// Not empty: the text on this SVG path data (the first subpath; Y down as in SVG, one user
  /// unit a drawing unit), its first line along the path, later lines the pitch to its right.
  std::string pathData;
  ArcAlign pathAlign = ArcAlign::Left;  ///< which point of each line sits at the offset
  /// Arc length along the path of the lines' anchor; unset: 0, half the path's length or its
  /// length, as pathAlign puts the line at its start, middle or end.
  std::optional<double> pathOffset;

  std::optional<double> boxWidth, boxHeight;  ///< set (both): fit the text into this box
  double margin = 0;                ///< space between the text and the box around it
  BoxAnchor anchor = BoxAnchor::Center;
  bool stretch = false;             ///< fill the box both ways instead of scaling uniformly

  FrameShape frame = FrameShape::None;
  double frameSize = 0;             ///< Rounded: corner radius; Outline: the offset
  double frameMargin = 0;           ///< space between the text (or the box) and the frame
  int holeCount = 0;                ///< 0, 2 (left and right) or 4 (corners)
  double holeDiameter = 0;
  std::optional<double> holeInset;  ///< frame edge to hole centre; unset: one diameter

  friend bool operator==(const SignLayout&, const SignLayout&) = default;

  /// True when the text is bent onto a circle or a path, which needs each character's advance.
  bool bends() const { return arcRadius || !pathData.empty(); }

  /// True when any field asks for something: the text then goes through placeSign.
  bool active() const {
    return rotate != 0 || mirror != MirrorAxis::None || slant != 0 || stretchX != 1 ||
           arcRadius || !pathData.empty() || boxWidth || frame != FrameShape::None ||
           holeCount != 0;
  }
};

}  // namespace kerfline
