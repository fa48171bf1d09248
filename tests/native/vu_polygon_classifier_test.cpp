#include <gtest/gtest.h>

#include "native/vu_polygon_classifier.h"
#include "planar/planar.h"
#include "vu/vu.h"

using namespace Korvex;

TEST(VuPolygonClassifier, SplitEdgeHalvesKeepTheUserDataOfTheNodesBeforeThem) {
    VuPolygonClassifier classifier;
    VuSet* graph = classifier.Graph();
    const DPoint3d square[4] = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
    VuNode* node = vu_loopFromDPoint3dArrayXYTol(graph, square, 4, 0.0, 1e-8);
    ASSERT_NE(node, nullptr);
    int tags[2] = {1, 2};
    vu_setUserDataP(node, &tags[0]);
    vu_setUserDataP(vu_edgeMate(node), &tags[1]);
    VuNode* a = nullptr;
    VuNode* b = nullptr;
    vu_splitEdge(graph, node, &a, &b);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(vu_getUserDataP(a), vu_getUserDataP(vu_fpred(a)));
    EXPECT_EQ(vu_getUserDataP(b), vu_getUserDataP(vu_fpred(b)));
    // Both sides of the edge still carry their tags after the split.
    int tagged[2] = {0, 0};
    for (VuNode* n : {a, vu_fpred(a), b, vu_fpred(b)})
        for (int k = 0; k < 2; ++k)
            tagged[k] += vu_getUserDataP(n) == &tags[k];
    EXPECT_EQ(tagged[0], 2);
    EXPECT_EQ(tagged[1], 2);
}

TEST(VuPolygonClassifier, ReadsClosedFacesAndSkipsDegenerateRuns) {
    VuPolygonClassifier classifier;
    DPoint3d buffer[9] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {}, {5, 5, 0}, {6, 6, 0}, {}, {7, 7, 0}};
    tgxDPoint3d_initDisconnect(&buffer[4]);
    tgxDPoint3d_initDisconnect(&buffer[7]);
    classifier.LoadOperand(buffer, 9);  // the 2-point and 1-point runs add nothing
    classifier.CollectInteriorFaces();
    DPoint3d face[16];
    void* data[16];
    int count = 0;
    ASSERT_TRUE(classifier.ReadNextFaceLoop(face, data, &count, 16));
    ASSERT_EQ(count, 5);
    EXPECT_EQ(face[0].x, face[4].x);
    EXPECT_EQ(face[0].y, face[4].y);
    EXPECT_FALSE(classifier.ReadNextFaceLoop(face, nullptr, &count, 16));
    EXPECT_EQ(count, 0);
}
