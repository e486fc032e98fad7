# Tree view and its nodes, the text with links, the animated indicators (GIF
# animation, loading bar, ring) and the fade button.
if(NOT BRISA_NATIVE)
  target_sources(brisa_uilib_core PRIVATE
    FadeButton.cpp
    GifAnim.cpp
    LoadingBar.cpp
    Ring.cpp
    Text.cpp
    TreeNode.cpp
    TreeView.cpp
  )
endif()
