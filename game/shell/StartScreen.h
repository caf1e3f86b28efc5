// The start screen: the first screen the program shows until the loading screen, the menus and
// the game exist. It is an ordinary engine screen loaded from "screens/Start/Start.AppScreen"
// with its texts from the language folder ("Start.txt").
//
// The engine's game-object blocks carry no draw object, so a plain object of this screen's file
// may hold one as a "DrawObject" block beside its "Basic" block (the engine's draw-object block:
// Type 1 rectangle, 2 image, 3 text, with "Dimensions", and "Image", "TextLine" or "Text" and
// "Class"); the screen builds it for the object of that name once the file has loaded. An image
// draw object gets an image asset of the screen for its "Image" file, centred on the object's
// point when the block says "MidHandle = 1". Objects of every kind (the vector-animation bird,
// the petal emitter) load through the engine's object factory as usual. Saving the screen writes
// the plain objects' draw objects back the same way.
#pragma once
#include <memory>
#include <string>

#include "engine/screen/AppScreen.h"

class TStartScreen : public TAppScreen {
public:
    // The name of the vector-animation object that flies, and its animation.
    std::string BirdName = "Bird";
    std::string BirdAnim = "Fly";
    int BirdAnimTime = 900;  // milliseconds per wing beat

    // The objects of the file, then the draw objects their blocks describe.
    int _LoadObjects(const TBlockFilePtr& objects, TLoadList* list) override;
    // The second animation the "Play" button switches to, and back.
    std::string BirdOtherAnim = "Bob";

    // Reads the music tracks (once for the whole program).
    int OnSetup() override;
    // Starts the bird's animation and the next music track.
    int OnPrepare() override;
    // Starts the bird's current animation, looped.
    virtual int StartBird();
    // A click on "Play" switches the bird between its two animations.
    int Interface() override;

    // The objects as the engine writes them, then each inline object's draw object beside its
    // block, so that saving the screen (the console's SAVESCREEN) keeps its pictures and texts.
    int _SaveObjects(const TBlockFilePtr& root) override;

    // Builds the draw object of the "DrawObject" block of one "GameObject" block (and of its
    // sub-objects' blocks) for the object of the same name.
    virtual int LoadDrawObjects(const TBlockFilePtr& objectBlock);
    // Writes the object's draw object (and its sub-objects' ones) into its "GameObject" block,
    // as LoadDrawObjects reads it.
    virtual int SaveDrawObjects(TGameObject& obj, const TBlockFilePtr& objectBlock);
};

using TStartScreenPtr = std::shared_ptr<TStartScreen>;

extern TStartScreenPtr StartScreen;

// A new start screen registered with Control as "Start", file bDir + StartScreenFile.
TStartScreenPtr CreateStartScreen();
extern const std::string StartScreenFile;  // "screens/Start/Start.AppScreen"
