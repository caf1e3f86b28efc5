# The end-to-end tests that take longer than the suite's default cost of 10 (tests/CMakeLists.txt),
# each with its own seconds in one run of `make test JOBS=3` (December 2026, on 8 shared cores; a
# parameterised test gets its cases' median; the one test added since, closing on the summary, its
# seconds in the next run; the two real-window tests, their seconds run alone). Three tests run at
# once, so these add up to more than the run's real time (the e2e tests 1,132 s and the whole
# suite 1,830 s of test time, in a run of 614 s). ctest
# starts the costliest first, so that none is left running alone at the end; only the order
# matters. A test named here that no longer exists is passed over, and a new long test belongs
# here.
foreach(entry IN ITEMS
    "BatchedDrawingTest.ScreensMatchTheQuadByQuadPicture=78"
    "StartupTest.QuittingLaterLeavesThePlayersFilesAsTheyWere=66"
    "InstallTest.TheDebianPackageInstallsStartsAndRemovesCleanly=64"
    "BatchedDrawingTest.ScreensLookTheSameDrawnOnlyWhereTheyChangedOrOverTheCopy=62"
    "PlaythroughTest.ANewPlayerWinsLevelOneTwiceAndBuildsInTheKingdom=51"
    "StartupTest.QuittingBeforeThePlayersAreReadWritesNothing=43"
    "PlaythroughTest.ThenLosesLevelTwoReplaysItQuitsAndContinuesIt=41"
    "PlayersTest.PlayersAreMadeWithTheMouseAndTheKeyboardAndSwitched=32"
    "KingdomRunTest.ABuildingBoughtWithAWonLevelsScoreStandsAfterARestart=29"
    "LongRunTest.MemoryStaysFlatOverRoundsOfTheScreens=27"
    "CostlyPictureTest.AQuitDuringLoadingNeverWaitsForACostlyPicture=15"
    "GamePlayTest.LevelOneWonGoesThroughTheSummaryAndTheKingdomToTheMapWithLevelTwoOpen=27"
    "GamePlayTest.ClosingTheGameOnTheSummaryKeepsWhatNextWouldHaveGiven=26"
    "PlayersTest.EachPlayerPlaysALevelAndKeepsItThroughRestartsAndASwitch=26"
    "ScreenEntryTest.TheKingdomTheMapAndALevelFadeInSettled=25"
    "CursorTest.ArrowIsDrawnAtTheMovedPointerWhileTheCustomCursorIsOn=24"
    "StartupTest.ShippedDataLoadsWithoutAReport=23"
    "HostileDataTest.EachHostileStartReachesTheMenuSaysWhatItRefusedAndPeaksNearAShippedStart=21"
    "SavesTest.AFailedSaveIsToldWhenItHappensAndAtExitAndLosesNothingSavedBefore=21"
    "SavesTest.ASecondGameOnTheSameFolderStopsAndAKilledGamesLockNeverBlocks=21"
    "OptionsE2E.SettingsChangedInTheOptionsAreSavedOnOkAndReadBackAtTheNextStart=20"
    "DeveloperToolsTest.ANeighbourCountLevelIsPaintedAndCrossedByDraggingOnTheGameScreen=19"
    "PauseE2E.APausedFrameCostsLessThanAnIdleOneAndTheGameGoesOnAfterwards=19"
    "GamePlayTest.LevelTwoWithSixWrongCellsIsLost=16"
    "RealWindowE2E.X11CopySubBufferShowsTheFrameAfterTheWindowSystemResizesTheWindow=16"
    "GamePlayTest.LevelOnePlayedFromItsSolutionIsWonAndGoesToTheLevelSummary=16"
    "ScreenEntryTest.TheMainMenuFadesInSettledAfterLoading=15"
    "LauncherE2ETest.AHostilePackageIsRefusedWhileTheGameGoesOn=14"
    "RealWindowE2E.WaylandWindowSwitchesFullAndWideScreenInPlace=14"
    "SavesTest.ADamagedSaveIsSalvagedAndToldOnceOnTheMainMenu=14"
    "SavesTest.AGameThatCannotLockItsFolderWritesNothingThereAndSaysSo=14"
    "GamePlayTest.LevelOneHalfPlayedIsKeptAsPlayInProgress=14"
    "NewsletterE2E.AfterHalfAnHourOfPlayASignUpReachesTheServer=12"
    "LauncherE2ETest.TheLauncherComesFirstAndANewerPackageIsInstalledWhileTheGameRuns=12"
    "NewsletterE2E.QuittingWhileTheWindowIsUpKeepsTheLevelInProgress=12"
    "Groups/DamagedDataTest.TheGameStartsAndReportsEachDamagedFileOnce/*=11"
    "GamePlayTest.LevelTwentyEightPlayedFromThePanelColourHammerAndHint=11"
    "InstallTest.AnInstallIntoADestdirStartsFromItsMenuEntry=11"
    "StartupTest.TheSplashAndTheLoadingScreenShowTheirPictures=11"
    "GamePlayTest.LevelOneStartsWithEveryCellCoveredAndTheNumbersShown=11")
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 cost)
  if(name MATCHES "/\\*$")
    # A parameterised test: each of its first 16 cases.
    string(REGEX REPLACE "\\*$" "" name "${name}")
    foreach(i RANGE 15)
      set_tests_properties("${name}${i}" PROPERTIES COST ${cost})
    endforeach()
  else()
    set_tests_properties("${name}" PROPERTIES COST ${cost})
  endif()
endforeach()
