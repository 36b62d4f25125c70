// Tests of the series diagram through what it draws: the drawing operations
// are recorded by a canvas that also paints, so positions, colours and texts
// are checked in device pixels, plus a few pixels of the rendered bitmap.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/core/SeriesBuilder.h"
#include "app/core/SeriesState.h"
#include "app/base/Utils.h"
#include "astro/Astrcalc.h"
#include "astro/TIMLIB.h"
#include "graphics/draw/DiagramFile.h"
#include "graphics/draw/SeriesDiagram.h"
#include "tests/graphics/recording_canvas.h"

using namespace nodalis;
using nodalis::test::DrawOp;
using nodalis::test::MakeImage;
using nodalis::test::RecordingCanvas;

namespace {

// One member in the member-line format of the series list.
struct Member {
  double JD, Gamma, X, Y, L1, L2, Slope;
  int Type;
};

std::string Line(const Member& M) {
  char B[256];
  std::snprintf(B, sizeof B,
                "%.6f dT 0.000000 Gam%6.3f x%7.4f y%7.4f rP%7.4f rU%7.4f AP 0.2700 AU 0.2690 "
                "incl %7.4f Max %d Sar 145",
                M.JD, M.Gamma, M.X, M.Y, M.L1, M.L2, M.Slope, M.Type);
  return B;
}

constexpr double SAROS_D = 6585.321316003;

// A small series shaped like a northern-start Saros: gamma falling from
// +1.5 to -1.5, partial at the ends, annular/hybrid/total in the middle, one
// no-eclipse member among them.
std::vector<Member> FixtureMembers() {
  std::vector<Member> V;
  const int Types[] = {1, 1, 3, 4, 6, 0, 5, 5, 2, 1};
  const double L2s[] = {0.01, 0.005, -0.003, 0.02, -0.001, 0.0, -0.05, -0.02, 0.01, -0.01};
  for (int i = 0; i < 10; ++i) {
    const double G = 1.5 - i * (3.0 / 9);
    Member M{2381033.0 + i * SAROS_D, G, 0.3 - 0.06 * i, G, 0.55, L2s[i], 0.35 - 0.02 * i,
             Types[i]};
    V.push_back(M);
  }
  return V;
}

void LoadSeries(const std::vector<Member>& Ms) {
  SeriesList.clear();
  SeriesList.push_back(RealToStr(1, 6, Ms.empty() ? 2400000.0L : Ms.front().JD - SAROS_D) +
                       " Start (145)");
  for (const auto& M : Ms) SeriesList.push_back(Line(M));
  SeriesList.push_back(RealToStr(1, 6, Ms.empty() ? 2400001.0L : Ms.back().JD + SAROS_D) +
                       " Ende");
}

// A diagram drawn on a 400 x 565 bitmap at 96 dpi with the graph window's
// world window.
struct Drawn {
  QImage Image = MakeImage(DEFAULT_PICTURE_WIDTH_PX, DEFAULT_PICTURE_HEIGHT_PX, 96);
  RecordingCanvas Canvas{&Image};
  tGDIext GDI{GDI_BITMAP_SCREEN, Canvas};
  Drawn() {
    GDI.SetWorld(-DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT, DIAGRAM_HALF_WIDTH,
                 DIAGRAM_HALF_HEIGHT);
    DrawSeriesDiagram(GDI);
    Canvas.End();
  }
  // Ellipses drawn with fill colour C.
  std::vector<DrawOp> Discs(TColor C) const {
    std::vector<DrawOp> R;
    for (const auto& O : Canvas.OfType(DrawOp::Ellipse))
      if (O.Solid && O.Brush == C) R.push_back(O);
    return R;
  }
};

struct DiagramState : testing::Test {
  void SetUp() override {
    EkliptikalNordChecked = false;
    ShowSchattenbahnChecked = false;
    TitleCaption = "Saros 145 (Test)  10 Neumonde";
    LoadSeries(FixtureMembers());
    ReferenceJD = 0;
  }
};

// Whole-pixel box corners: centres and radii within one pixel.
constexpr double PX_TOL = 1.0;

const DrawOp* FindExact(const RecordingCanvas& C, const char* Text) {
  for (const auto& O : C.Ops)
    if (O.Op == DrawOp::Text && O.Str == QLatin1String(Text)) return &O;
  return nullptr;
}

// Julian date of member line i as the diagram reads it (6 decimals).
long double JDOfLine(std::size_t i) { return LineJD(SeriesList.at(i)); }

QString FromCp(const std::string& S) { return QString::fromStdString(Cp1252ToUtf8(S)); }

}  // namespace

TEST_F(DiagramState, EarthPenumbraeAndLabels) {
  Drawn D;
  const auto& G = D.GDI;
  auto Earth = D.Discs(RGBColor(200, 255, 255));
  ASSERT_EQ(Earth.size(), 1u);
  EXPECT_NEAR(Earth[0].Cx(), G.XToPx(0), PX_TOL);
  EXPECT_NEAR(Earth[0].Cy(), G.YToPx(0), PX_TOL);
  EXPECT_NEAR(Earth[0].Rx(), G.ScaleX, PX_TOL) << "unit disc";
  EXPECT_NEAR(Earth[0].Ry(), G.ScaleY, PX_TOL);
  EXPECT_EQ(Earth[0].Pen, RGBColor(0, 0, 0));

  const auto Ms = FixtureMembers();
  auto Pen = D.Discs(RGBColor(100, 100, 150));
  ASSERT_EQ(Pen.size(), 2u) << "penumbrae of first and last member";
  const Member* Ends[2] = {&Ms.front(), &Ms.back()};
  const char* Prefix[2] = {"Beginn: ", "Ende: "};
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(Prefix[k]);
    const Member& M = *Ends[k];
    EXPECT_NEAR(Pen[k].Cx(), G.XToPx(float(M.X)), PX_TOL);
    EXPECT_NEAR(Pen[k].Cy(), G.YToPx(float(M.Y)), PX_TOL);
    EXPECT_NEAR(Pen[k].Rx(), M.L1 * G.ScaleX, PX_TOL);
    const DrawOp* T = D.Canvas.FindText(Prefix[k]);
    ASSERT_NE(T, nullptr);
    EXPECT_EQ(T->Str, QString(Prefix[k]) + FromCp(DateText(0, 0, M.JD)));
    EXPECT_EQ(T->X1, G.XToPx(float(M.X)));
    EXPECT_EQ(T->Y1, G.YToPx(float(M.Y)));
    // Label above the point for gamma > 0, below it otherwise; drawn on an
    // opaque box of the penumbra colour.
    EXPECT_EQ(T->Align, M.Gamma > 0 ? TA_CENTER | TA_BOTTOM : TA_CENTER | TA_TOP);
    EXPECT_TRUE(T->Solid);
    EXPECT_EQ(T->Brush, RGBColor(100, 100, 150));
  }
  // The Earth's outline again over the penumbrae, unfilled.
  int Outlines = 0;
  for (const auto& O : D.Canvas.OfType(DrawOp::Ellipse))
    if (!O.Solid && std::abs(O.Cx() - G.XToPx(0)) <= PX_TOL && std::abs(O.Rx() - G.ScaleX) <= PX_TOL)
      ++Outlines;
  EXPECT_EQ(Outlines, 1);
}

TEST_F(DiagramState, OneDiscPerMemberInTypeColour) {
  Drawn D;
  const auto& G = D.GDI;
  const auto Ms = FixtureMembers();
  // Member discs follow the Earth, the two penumbrae and the outline.
  auto All = D.Canvas.OfType(DrawOp::Ellipse);
  ASSERT_GE(All.size(), 4 + Ms.size() + 7);
  for (std::size_t i = 0; i < Ms.size(); ++i) {
    const Member& M = Ms[i];
    const DrawOp& O = All[4 + i];
    SCOPED_TRACE(testing::Message() << "member " << i + 1 << " type " << M.Type);
    const double R = std::max(std::fabs(M.L2), 0.01);
    EXPECT_NEAR(O.Cx(), G.XToPx(float(M.X)), PX_TOL);
    EXPECT_NEAR(O.Cy(), G.YToPx(float(M.Y)), PX_TOL);
    EXPECT_NEAR(O.Rx(), R * G.ScaleX, PX_TOL) << "want radius max(|L2|, 0.01) = " << R;
    EXPECT_TRUE(O.Solid);
    EXPECT_EQ(O.Brush, EclipseFillColor(M.Type, M.L2));
    EXPECT_EQ(O.Pen, M.Type == 0 ? 0u : EclipseFillColor(M.Type, M.L2) / 2);
  }
}

// Fill and outline per type code; outline = the 24-bit fill value div 2.
TEST(DiagramColors, FillAndOutlineTable) {
  struct Row {
    int Type;
    double L2;
    TColor Fill, Outline;
  } Rows[] = {
      {0, 0, RGBColor(255, 255, 255), RGBColor(0, 0, 0)},
      {1, 0.1, RGBColor(64, 0, 0), RGBColor(32, 0, 0)},
      {1, -0.1, RGBColor(0, 0, 64), RGBColor(0, 0, 32)},
      {2, 0, RGBColor(255, 127, 0), RGBColor(255, 63, 0)},
      {3, 0, RGBColor(128, 128, 255), RGBColor(64, 192, 127)},
      {4, 0, RGBColor(255, 0, 0), RGBColor(127, 0, 0)},
      {5, 0, RGBColor(0, 0, 255), RGBColor(0, 128, 127)},
      {6, 0, RGBColor(255, 0, 255), RGBColor(127, 128, 127)},
  };
  QImage Img = MakeImage(10, 10, 96);
  tCanvas C(&Img);
  tGDIext G(GDI_BITMAP_SCREEN, C);
  for (const auto& R : Rows) {
    SetEclipseColors(G, R.Type, R.L2);
    EXPECT_EQ(C.BrushColor, R.Fill) << "type " << R.Type;
    EXPECT_EQ(C.PenColor, R.Outline) << "type " << R.Type << " want 0x" << std::hex << R.Outline
                                     << " got 0x" << C.PenColor;
  }
  // A code outside 0..6 keeps the fill and sets the pen from it.
  SetEclipseColors(G, 4, 0);
  SetEclipseColors(G, 9, 0);
  EXPECT_EQ(C.BrushColor, RGBColor(255, 0, 0));
  EXPECT_EQ(C.PenColor, RGBColor(127, 0, 0));
}

TEST_F(DiagramState, CrossAtReferenceInstant) {
  const auto Ms = FixtureMembers();
  auto Crosses = [](const Drawn& D) {
    std::vector<DrawOp> R;
    for (const auto& O : D.Canvas.OfType(DrawOp::Line))
      if (O.Pen == RGBColor(0, 0, 127)) R.push_back(O);
    return R;
  };
  // On a member: drawn twice at the same spot (t = 1 and t = 0), 6 mm wide.
  ReferenceJD = JDOfLine(4);
  {
    Drawn D;
    auto L = Crosses(D);
    ASSERT_EQ(L.size(), 4u);
    const int Cx = D.GDI.XToPx(float(Ms[3].X)), Cy = D.GDI.YToPx(float(Ms[3].Y));
    const int Arm = D.GDI.MMToPxX(3.0f);
    EXPECT_EQ(L[0].X1, Cx - Arm);
    EXPECT_EQ(L[0].X2, Cx + Arm);
    EXPECT_EQ(L[0].Y1, Cy);
    EXPECT_EQ(L[1].X1, Cx);
    EXPECT_EQ(L[1].PenWidth, D.GDI.MMToPxX(0.3f));
    EXPECT_EQ(L[2].X1, L[0].X1);
    EXPECT_EQ(L[2].Y1, L[0].Y1);
  }
  // Halfway between members 2 and 3 (indices 1, 2).
  ReferenceJD = (JDOfLine(2) + JDOfLine(3)) / 2;
  {
    Drawn D;
    auto L = Crosses(D);
    ASSERT_EQ(L.size(), 2u);
    EXPECT_EQ(L[1].X1, D.GDI.XToPx(float((Ms[1].X + Ms[2].X) / 2)));
  }
  // The last member: drawn in the pass of the last but one with t = 1.
  ReferenceJD = JDOfLine(Ms.size());
  {
    Drawn D;
    auto L = Crosses(D);
    ASSERT_EQ(L.size(), 2u);
    EXPECT_EQ(L[1].X1, D.GDI.XToPx(float(Ms.back().X)));
  }
  // Outside the series' span: no cross.
  for (double Ref : {Ms.front().JD - 1, Ms.back().JD + 1}) {
    ReferenceJD = Ref;
    Drawn D;
    EXPECT_TRUE(Crosses(D).empty()) << "ReferenceJD " << Ref;
  }
}

TEST_F(DiagramState, LegendTitleAndOrientation) {
  Drawn D;
  const auto& G = D.GDI;
  // Legend: seven rows, type 0 at the top, texts left-aligned beside discs.
  const char* Want[7] = {"keine Finsternis", "partielle ", "nichtzentrale ringförmige ",
                         "nichtzentrale totale ", "ringförmige ", "totale ", "hybride "};
  auto Texts = D.Canvas.OfType(DrawOp::Text);
  auto Ellipses = D.Canvas.OfType(DrawOp::Ellipse);
  ASSERT_GE(Texts.size(), 9u);
  ASSERT_GE(Ellipses.size(), 7u);
  const std::size_t T0 = Texts.size() - 8, E0 = Ellipses.size() - 7;
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(testing::Message() << "legend row " << i);
    const float Y = G.YMin + (7 - i) * 0.09f;
    EXPECT_EQ(Texts[T0 + i].Str, QString::fromUtf8(Want[i]));
    EXPECT_EQ(Texts[T0 + i].Align, TA_LEFT | TA_TOP);
    EXPECT_FALSE(Texts[T0 + i].Solid) << "transparent";
    EXPECT_EQ(Texts[T0 + i].X1, G.XToPx(G.XMin + 0.12f));
    EXPECT_EQ(Texts[T0 + i].Y1, G.YToPx(Y + 0.03f));
    EXPECT_NEAR(Texts[T0 + i].FontHeight, G.MMToPxY(3.0f), 1);
    EXPECT_NEAR(Ellipses[E0 + i].Cy(), G.YToPx(Y), PX_TOL);
    EXPECT_NEAR(Ellipses[E0 + i].Cx(), G.XToPx(G.XMin + 0.06f), PX_TOL);
  }
  // Row 1 takes the partial colour of the last member's L2 sign (< 0 here).
  EXPECT_EQ(Ellipses[E0 + 1].Brush, RGBColor(0, 0, 64));
  EXPECT_EQ(Texts.back().Str, QString::fromStdString(TitleText));
  EXPECT_EQ(Texts.back().Y1, G.YToPx(G.YMin + 0.12f));
  // Title at the top centre in the 4.5 mm font.
  const DrawOp* Title = D.Canvas.FindText("Saros 145");
  ASSERT_NE(Title, nullptr);
  EXPECT_EQ(Title->X1, G.XToPx(0));
  EXPECT_EQ(Title->Y1, G.YToPx(G.YMax));
  EXPECT_NEAR(Title->FontHeight, G.MMToPxY(4.5f), 1);
  // Without ecliptic north: "N" a point size above the north point, "S" on
  // the south point; no "Ekliptik".
  const DrawOp* N = FindExact(D.Canvas, "N");
  const DrawOp* S = FindExact(D.Canvas, "S");
  ASSERT_NE(N, nullptr);
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(N->Str, "N");
  EXPECT_EQ(N->Y1, G.YToPx(1) - RoundPx(G.MMToPxY(4.5f) * 72.0 / 96));
  EXPECT_EQ(S->Y1, G.YToPx(-1));
  EXPECT_EQ(D.Canvas.FindText("Ekliptik"), nullptr);

  EkliptikalNordChecked = true;
  Drawn E;
  EXPECT_EQ(FindExact(E.Canvas, "N"), nullptr);
  EXPECT_EQ(FindExact(E.Canvas, "S"), nullptr);
  const DrawOp* Ek = E.Canvas.FindText("Ekliptik");
  ASSERT_NE(Ek, nullptr);
  EXPECT_EQ(Ek->Align, TA_LEFT | TA_BOTTOM);
  EXPECT_EQ(Ek->Y1, G.YToPx(0));
}

TEST_F(DiagramState, ShadowTracksSpanFixedRange) {
  EXPECT_TRUE(Drawn().Canvas.OfType(DrawOp::Line).size() == 2u) << "axes only without tracks";
  ShowSchattenbahnChecked = true;
  // A member far outside the track range still gets a track from -1.3 to 1.3.
  auto Ms = FixtureMembers();
  Ms[4].X = 1.45;
  LoadSeries(Ms);
  Drawn D;
  std::vector<DrawOp> Tracks;
  for (const auto& O : D.Canvas.OfType(DrawOp::Line))
    if (O.PenStyle == PS_DOT) Tracks.push_back(O);
  ASSERT_EQ(Tracks.size(), Ms.size());
  const auto& G = D.GDI;
  for (std::size_t i = 0; i < Ms.size(); ++i) {
    EXPECT_EQ(Tracks[i].X1, G.XToPx(-1.3f));
    EXPECT_EQ(Tracks[i].X2, G.XToPx(1.3f));
    const double Y1 = Ms[i].Y + (-1.3 - Ms[i].X) * Ms[i].Slope;
    EXPECT_NEAR(Tracks[i].Y1, G.YToPx(float(Y1)), PX_TOL) << "member " << i + 1;
    EXPECT_EQ(Tracks[i].Pen, 0u);
  }
}

TEST_F(DiagramState, EmptyAndBrokenSeries) {
  // Start and end line only: Earth, title and legend.
  LoadSeries({});
  {
    Drawn D;
    EXPECT_EQ(D.Canvas.OfType(DrawOp::Ellipse).size(), 1u + 7u);
    EXPECT_EQ(D.Canvas.OfType(DrawOp::Text).size(), 1u + 7u + 1u);
    EXPECT_EQ(D.Canvas.FindText("Beginn"), nullptr);
  }
  // No lines at all, a single member, and lines that are not member lines.
  SeriesList.clear();
  { Drawn D; }
  LoadSeries({FixtureMembers()[3]});
  {
    Drawn D;
    auto Pen = D.Discs(RGBColor(100, 100, 150));
    ASSERT_EQ(Pen.size(), 2u);
    EXPECT_EQ(Pen[0].X1, Pen[1].X1) << "both labels on the single eclipse";
  }
  SeriesList = {"x", "", "nan dT inf Gam x y", "1e400 Max 99", "Ende"};
  { Drawn D; }
  SUCCEED() << "no crash on broken lines";
}

// Bitmap kinds paint the blue background; printer-like kinds keep a white
// page.
TEST_F(DiagramState, BackgroundPixels) {
  Drawn D;
  EXPECT_EQ(D.Image.pixel(2, 300) & 0xFFFFFF, qRgb(60, 60, 220) & 0xFFFFFF);
  EXPECT_EQ(D.Image.pixel(D.GDI.XToPx(0) + 5, D.GDI.YToPx(0) + 30) & 0xFFFFFF,
            qRgb(200, 255, 255) & 0xFFFFFF)
      << "inside the Earth disc";

  QImage Page = MakeImage(400, 565, 96);
  tCanvas C(&Page);
  tGDIext P(GDI_PREVIEW, C, nullptr);  // page of the fallback printer size
  P.PrintWidthMM = 100;
  P.PrintHeightMM = 141;
  P.SetWorld(-DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT, DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT);
  DrawSeriesDiagram(P);
  C.End();
  EXPECT_FALSE(P.FillBackground);
  EXPECT_EQ(Page.pixel(P.OffsetX + 2, P.OffsetY + 100) & 0xFFFFFF, 0xFFFFFFu) << "white page";
}

TEST_F(DiagramState, WritesFilesInEveryFormat) {
  QTemporaryDir Dir;
  struct Case {
    const char* Name;
    int Dpi;
    int W, H;  // bitmap size, 0 for vector files
  } Cases[] = {{"d.bmp", 96, 480, 679},   {"d.png", 300, 1500, 2121}, {"d.bmp", 600, 3000, 4243},
               {"d.pdf", 300, 0, 0},      {"d.svg", 96, 0, 0}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Name << " " << C.Dpi);
    const QString F = Dir.filePath(C.Name);
    QString Err;
    ASSERT_TRUE(WriteDiagramFile(&DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
                                 DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, F, C.Dpi, &Err))
        << Err.toStdString();
    if (C.W) {
      QImage I(F);
      EXPECT_EQ(I.width(), C.W);
      EXPECT_EQ(I.height(), C.H);
      EXPECT_NEAR(I.dotsPerMeterX() * 0.0254, C.Dpi, 0.5) << "resolution stored in the file";
    } else {
      EXPECT_GT(QFileInfo(F).size(), 1000);
    }
  }
  QString Err;
  EXPECT_FALSE(WriteDiagramFile(&DrawSeriesDiagram, -1, -1, 1, 1, Dir.filePath("d.gif"), 96, &Err));
  EXPECT_FALSE(Err.isEmpty());
  EXPECT_FALSE(WriteDiagramFile(&DrawSeriesDiagram, -1, -1, 1, 1, Dir.filePath("d.bmp"), 150, &Err));
  EXPECT_FALSE(WriteDiagramFile(&DrawSeriesDiagram, -1, -1, 1, 1, "/nonexistent/dir/d.bmp", 96, &Err));
}

// The real Saros 145 (computed, Moon from the compact lunar series): the
// first member is the partial eclipse of 1639 January 4 (NASA Five
// Millennium Canon) north of the Earth; every member is one disc in its
// type's colour; the cross sits on the total eclipse of 2017 August 21.
TEST_F(DiagramState, Saros145) {
  constexpr long double AUG_2017_JD = 2457987.268519L;  // greatest eclipse, TD (canon)
  constexpr long double SAME_ECLIPSE_DAYS = 1.0L;
  UseLunarLib = false;
  long double NewMoon = AUG_2017_JD - 5;
  ASSERT_TRUE(FindEclipseNewMoon(NewMoon, false));
  std::vector<std::string> List;
  ASSERT_TRUE(BuildSeriesComputed(List, NewMoon));
  SeriesList = List;
  const std::size_t N = SeriesList.size() - 2;
  ASSERT_GE(N, 70u);
  std::size_t Aug2017 = 0;
  for (std::size_t i = 1; i <= N; ++i)
    if (std::fabs(JDOfLine(i) - AUG_2017_JD) < SAME_ECLIPSE_DAYS) Aug2017 = i;
  ASSERT_NE(Aug2017, 0u) << "2017 August 21 in the series";
  ReferenceJD = JDOfLine(Aug2017);

  Drawn D;
  const auto& G = D.GDI;
  const DrawOp* Begin = D.Canvas.FindText("Beginn: ");
  ASSERT_NE(Begin, nullptr);
  EXPECT_EQ(Begin->Str, "Beginn: 04.01.1639");
  EXPECT_EQ(Begin->Align, TA_CENTER | TA_BOTTOM) << "gamma > 0: label above the first eclipse";
  BesselRec First, Last;
  ParseMemberLine(SeriesList[1], First);
  ParseMemberLine(SeriesList[N], Last);
  EXPECT_GT(First.Y, 1.0L) << "series starts north of the Earth";
  EXPECT_LT(Last.Y, -1.0L) << "and ends south of it";
  const DrawOp* End = D.Canvas.FindText("Ende: ");
  ASSERT_NE(End, nullptr);
  EXPECT_EQ(End->Str, "Ende: " + FromCp(DateText(0, 0, Last.JDMax)));
  EXPECT_EQ(End->Align, TA_CENTER | TA_TOP);

  auto Ellipses = D.Canvas.OfType(DrawOp::Ellipse);
  ASSERT_EQ(Ellipses.size(), 4 + N + 7) << "Earth, 2 penumbrae, outline, members, legend";
  for (std::size_t i = 1; i <= N; ++i) {
    BesselRec R;
    ParseMemberLine(SeriesList[i], R);
    const DrawOp& O = Ellipses[3 + i];
    EXPECT_NEAR(O.Cx(), G.XToPx(float(R.X)), PX_TOL) << "member " << i;
    EXPECT_NEAR(O.Cy(), G.YToPx(float(R.Y)), PX_TOL) << "member " << i;
    EXPECT_EQ(O.Brush, EclipseFillColor(R.EclType, R.L2)) << "member " << i;
  }
  BesselRec Tot;
  ParseMemberLine(SeriesList[Aug2017], Tot);
  EXPECT_EQ(Tot.EclType, ECL_TOTAL);
  int CrossArms = 0;
  for (const auto& O : D.Canvas.OfType(DrawOp::Line))
    if (O.Pen == RGBColor(0, 0, 127) && O.Y1 == O.Y2) {
      ++CrossArms;
      EXPECT_EQ(O.Y1, G.YToPx(float(Tot.Y)));
      EXPECT_EQ((O.X1 + O.X2) / 2, G.XToPx(float(Tot.X)));
    }
  EXPECT_EQ(CrossArms, 2) << "drawn with t = 1 and t = 0 on the 2017 eclipse";
}
