// DOM helpers the page's modules share.

export const $ = (id) => document.getElementById(id);

// A new element with its attributes (`text` sets its text) and children.
export function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (name === 'text') node.textContent = value;
    else node.setAttribute(name, value);
  }
  node.append(...children);
  return node;
}

// Sets a node's text only when it changes, so that a live region does not
// announce the same words twice.
export function setText(node, text) {
  if (node.textContent !== text) node.textContent = text;
}
